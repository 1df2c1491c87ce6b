// A fresh temporary current directory for tests of the configuration file, and a context block
// filled with a marker byte.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>
#if defined(_WIN32)
#include <io.h>
#endif

#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "fakes/call_log.h"
#include "zelmpi/driver_context.h"

namespace lifecycle_test {

class TemporaryCurrentDirectory : public ::testing::Test {
  protected:
    void SetUp() override {
        fakes::ResetAllFakes();
        previous_ = std::filesystem::current_path();
#if defined(_WIN32)
        char pattern[] = "zelmpi_lifecycle_XXXXXX";
        ASSERT_EQ(_mktemp_s(pattern, sizeof pattern), 0);
        directory_ = std::filesystem::temp_directory_path() / pattern;
        ASSERT_TRUE(std::filesystem::create_directory(directory_));
#else
        char pattern[] = "/tmp/zelmpi_lifecycle_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        directory_ = pattern;
#endif
        std::filesystem::current_path(directory_);
    }
    void TearDown() override {
        fakes::ResetAllFakes();
        std::filesystem::current_path(previous_);
        std::filesystem::remove_all(directory_);
    }
    static void WriteFile(const std::string& name, const std::string& content) {
        std::ofstream out(name, std::ios::binary);
        out << content;
    }

  private:
    std::filesystem::path previous_;
    std::filesystem::path directory_;
};

inline void FillContext(zelmpi::DriverContext& context, unsigned char marker) {
    std::memset(&context, marker, sizeof context);
}

}  // namespace lifecycle_test

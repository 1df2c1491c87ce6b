// Helpers for tests of the stand-in PLC library.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/plc_library.h"
#include "s7_standin.h"

namespace standin_test {

// A fresh stand-in for each test.
class StandinTest : public ::testing::Test {
  protected:
    void SetUp() override { S7StandinReset(); }
    void TearDown() override { S7StandinReset(); }

    // Loads a plant text; fails the test with the stand-in's message when it is refused.
    static void Load(const char* text) {
        char error[256] = "";
        ASSERT_EQ(S7StandinLoadText(text, error, sizeof error), 0) << error;
    }

    // Loads the link with {mpi, 0, slot, 0} entries and selects position 1.
    static int Link(std::vector<std::pair<int, int>> stations) {
        std::vector<uint8_t> list;
        for (auto [mpi, slot] : stations) {
            list.insert(list.end(), {static_cast<uint8_t>(mpi), 0, static_cast<uint8_t>(slot), 0});
        }
        list.insert(list.end(), {0, 0, 0, 0});
        unload_tool();
        return load_tool(static_cast<unsigned char>(stations.size()), 0, list.data());
    }

    static std::vector<uint8_t> Peek(int mpi, int area, int db, int start, int count) {
        std::vector<uint8_t> bytes(static_cast<size_t>(count));
        EXPECT_EQ(S7StandinReadBytes(mpi, area, db, start, count, bytes.data()), 0);
        return bytes;
    }
};

}  // namespace standin_test

// Runs the zelhost binary in a directory of its own and collects what it says.
#pragma once

#include <stdlib.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace zelhost_e2e {

struct ProcessResult {
    int status = -1;
    std::string out;
    std::string err;
};

inline std::string ShellQuoted(const std::string& word) {
    std::string quoted = "'";
    for (const char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

inline std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

inline void WriteFile(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

inline std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) lines.push_back(line);
    return lines;
}

// A fresh directory per test, removed afterwards: the module reads ravUDE<NN>.int from the
// current directory, and tests run side by side.
class ZelhostProcess : public testing::Test {
  protected:
    void SetUp() override {
        const auto* info = testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string(info->test_suite_name()) + "-" + info->name();
        for (char& c : name) {
            if (c == '/') c = '_';
        }
        // Unique across processes: other checkouts may run the same test at the same time.
        std::string pattern =
            (std::filesystem::temp_directory_path() / ("zelhost-e2e-" + name + "-XXXXXX")).string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr) << pattern;
        dir = pattern;
    }
    void TearDown() override {
        if (!dir.empty()) std::filesystem::remove_all(dir);
    }

    ProcessResult Zelhost(const std::vector<std::string>& arguments) const {
        std::string command =
            "cd " + ShellQuoted(dir.string()) + " && " + ShellQuoted(ZELHOST_BINARY);
        for (const std::string& argument : arguments) command += " " + ShellQuoted(argument);
        command += " >out.txt 2>err.txt";
        ProcessResult run;
        const int raw = std::system(command.c_str());
        run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        run.out = ReadFile(dir / "out.txt");
        run.err = ReadFile(dir / "err.txt");
        return run;
    }

    std::filesystem::path dir;
};

}  // namespace zelhost_e2e

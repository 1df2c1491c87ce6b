// zelhost's command line: a command, its arguments, and options anywhere after the program
// name, as "--name VALUE" or "--name=VALUE".
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "value_type.h"

namespace zelhost {

enum class Command { Help, Version, Describe, Check, Read, Write, Poll };
enum class OutputFormat { Text, Json };

struct Options {
    Command command = Command::Help;
    std::vector<std::string> arguments;  // after the command: tag file, address, values

    std::optional<std::string> modulePath;
    std::optional<std::string> simPath;
    std::optional<std::string> logPath;
    OutputFormat format = OutputFormat::Text;
    bool timestamps = false;
    bool trace = false;  // the PLC library's calls in the log

    // The instance, as poll starts it (check, read and write start it the same way).
    int32_t instance = 1;
    int32_t startValue = 1;
    int32_t readTimeout = 100;  // 10 ms units

    std::optional<ValueType> type;  // read, write
    int count = 1;                  // read
    int intervalMs = 1000;          // poll
    std::optional<int> cycles;      // poll; none: until Ctrl-C
};

struct ParsedCommandLine {
    Options options;
    std::string error;  // empty when the command line is good
};

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments);

const char* UsageText();

}  // namespace zelhost

#include "command_line.h"

#include <charconv>
#include <cstring>
#include <limits>
#include <string_view>

#include "tag_list.h"

namespace zelhost {

namespace {

// Which commands take which option.
enum : unsigned {
    kDescribe = 1u << 0,
    kCheck = 1u << 1,
    kRead = 1u << 2,
    kWrite = 1u << 3,
    kPoll = 1u << 4,
    kAll = kDescribe | kCheck | kRead | kWrite | kPoll,
    kInstance = kCheck | kRead | kWrite | kPoll,
};

struct CommandEntry {
    const char* name;
    Command command;
    unsigned bit;
    size_t minArguments;
    size_t maxArguments;
    const char* synopsis;
};

constexpr size_t kMany = std::numeric_limits<size_t>::max();

constexpr CommandEntry kCommands[] = {
    {"describe", Command::Describe, kDescribe, 0, 0, "describe"},
    {"check", Command::Check, kCheck, 1, 1, "check TAGFILE"},
    {"read", Command::Read, kRead, 1, 1, "read ADDRESS [--type T] [--count N]"},
    {"write", Command::Write, kWrite, 2, kMany, "write ADDRESS VALUE... [--type T]"},
    {"poll", Command::Poll, kPoll, 1, 1, "poll TAGFILE [--interval MS] [--cycles N]"},
};

struct OptionEntry {
    const char* name;
    unsigned commands;
    bool takesValue;
};

constexpr OptionEntry kOptions[] = {
    {"--module", kAll, true},        {"--sim", kAll, true},
    {"--log", kAll, true},           {"--format", kAll, true},
    {"--timestamps", kAll, false},   {"--trace", kAll, false},
    {"--instance", kInstance, true}, {"--start-value", kInstance, true},
    {"--timeout", kInstance, true},  {"--type", kRead | kWrite, true},
    {"--count", kRead, true},        {"--interval", kPoll, true},
    {"--cycles", kPoll, true},
};

bool ParseInt32(std::string_view text, int32_t& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && error == std::errc() && end == text.data() + text.size();
}

// Applies one option; returns an error message or nothing.
std::string ApplyOption(std::string_view name, const std::string& value, Options& options) {
    const auto badNumber = [&](const char* what) {
        return std::string(name) + " needs " + what + ", not '" + value + "'";
    };
    if (name == "--module") {
        options.modulePath = value;
    } else if (name == "--sim") {
        options.simPath = value;
    } else if (name == "--log") {
        options.logPath = value;
    } else if (name == "--format") {
        if (value == "json") {
            options.format = OutputFormat::Json;
        } else if (value == "text") {
            options.format = OutputFormat::Text;
        } else {
            return "--format is text or json, not '" + value + "'";
        }
    } else if (name == "--timestamps") {
        options.timestamps = true;
    } else if (name == "--trace") {
        options.trace = true;
    } else if (name == "--instance") {
        if (!ParseInt32(value, options.instance)) return badNumber("a whole number");
    } else if (name == "--start-value") {
        if (!ParseInt32(value, options.startValue)) return badNumber("a whole number");
    } else if (name == "--timeout") {
        if (!ParseInt32(value, options.readTimeout))
            return badNumber("a whole number (10 ms units)");
    } else if (name == "--type") {
        options.type = TypeFromName(value);
        if (!options.type) return "unknown type '" + value + "' (types: " + TypeNameList() + ")";
    } else if (name == "--count") {
        if (!ParseCount(value, options.count)) {
            return badNumber(
                ("a whole number from 1 to " + std::to_string(kMaxElementCount)).c_str());
        }
    } else if (name == "--interval") {
        int32_t interval = 0;
        if (!ParseInt32(value, interval) || interval < 0 || interval > 3600000) {
            return badNumber("milliseconds from 0 to 3600000");
        }
        options.intervalMs = interval;
    } else if (name == "--cycles") {
        int32_t cycles = 0;
        if (!ParseInt32(value, cycles) || cycles < 1)
            return badNumber("a whole number of 1 or more");
        options.cycles = cycles;
    }
    return {};
}

}  // namespace

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
    ParsedCommandLine parsed;
    Options& options = parsed.options;
    const CommandEntry* command = nullptr;
    struct GivenOption {
        const OptionEntry* entry;
        std::string value;
    };
    std::vector<GivenOption> given;

    for (const std::string& argument : arguments) {
        if (argument == "--") break;
        if (argument == "--help" || argument == "-h") {
            options.command = Command::Help;
            return parsed;
        }
        if (argument == "--version") {
            options.command = Command::Version;
            return parsed;
        }
    }

    bool optionsEnded = false;  // after "--" every argument is positional
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (!optionsEnded && argument == "--") {
            optionsEnded = true;
            continue;
        }
        const bool isOption =
            !optionsEnded && argument.size() > 2 && argument.compare(0, 2, "--") == 0;
        if (isOption) {
            const size_t equals = argument.find('=');
            const std::string_view name = std::string_view(argument).substr(0, equals);
            const OptionEntry* entry = nullptr;
            for (const OptionEntry& candidate : kOptions) {
                if (name == candidate.name) entry = &candidate;
            }
            if (entry == nullptr) {
                parsed.error = "unknown option " + std::string(name);
                return parsed;
            }
            std::string value;
            if (equals != std::string::npos) {
                if (!entry->takesValue) {
                    parsed.error = std::string(name) + " takes no value";
                    return parsed;
                }
                value = argument.substr(equals + 1);
            } else if (entry->takesValue) {
                if (i + 1 >= arguments.size()) {
                    parsed.error = std::string(name) + " needs a value";
                    return parsed;
                }
                value = arguments[++i];
            }
            given.push_back({entry, value});
            continue;
        }
        if (command == nullptr) {
            for (const CommandEntry& candidate : kCommands) {
                if (argument == candidate.name) command = &candidate;
            }
            if (command == nullptr) {
                parsed.error = "unknown command '" + argument + "'";
                return parsed;
            }
            continue;
        }
        options.arguments.push_back(argument);
    }

    if (command == nullptr) {
        parsed.error = "no command given";
        return parsed;
    }
    options.command = command->command;
    for (const GivenOption& option : given) {
        if ((option.entry->commands & command->bit) == 0) {
            parsed.error = std::string(option.entry->name) + " does not apply to " + command->name;
            return parsed;
        }
        parsed.error = ApplyOption(option.entry->name, option.value, options);
        if (!parsed.error.empty()) return parsed;
    }
    const size_t count = options.arguments.size();
    if (count < command->minArguments || count > command->maxArguments) {
        parsed.error = std::string("usage: zelhost ") + command->synopsis;
    }
    return parsed;
}

const char* UsageText() {
    return R"(usage: zelhost COMMAND [ARGUMENTS] [OPTIONS]

Loads the zelmpi driver module and drives it as the SCADA host does, against simulated PLCs.

Commands:
  describe                         driver code, device name and banner
  check TAGFILE                    define every tag of the list; report each refusal
  read ADDRESS [--type T] [--count N]
                                   read one tag once
  write ADDRESS VALUE... [--type T]
                                   write one tag once (several values: a block)
  poll TAGFILE [--interval MS] [--cycles N]
                                   read the tags cyclically until Ctrl-C or N cycles

Options:
  --module PATH      the driver module (default: zelmpi next to zelhost, or the build's)
  --sim FILE         the simulated PLCs (default: the demo plant)
  --log FILE         append the module's log to FILE instead of standard error
  --format json      machine-readable output (poll: one JSON object a cycle)
  --timestamps       prefix each log line with the time of day
  --trace            log each call of the (simulated) PLC library, where it happens
  --instance N       instance number; selects the file ravUDE<NN>.int (default 1)
  --start-value V    start value of OP_INIT; 0 leaves the instance unstarted (default 1)
  --timeout T        COM port read time-out of OP_INIT, 10 ms units (default 100)
  --type T           bit, byte, word, int16, int32, uint32, float, string
                     (default: what the address names)
  --count N          elements to read as one block (default 1)
  --interval MS      time from one poll cycle to the next (default 1000)
  --cycles N         stop after N cycles (default: run until Ctrl-C)

Exit status: 0 ok, 1 a tag refused or an access failed, 2 usage or input file error,
3 the module cannot be loaded or has no ZelMain.
)";
}

}  // namespace zelhost

// Runs OP_PARSE and OP_CHECK_SIZE through ZelMain on a fresh context and definition block.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "fakes/call_log.h"
#include "zelmpi/zelmpi.h"

namespace addressing_test {

// What the host left in the record before the call.
inline constexpr zelmpi::TagAddress kHostLeftovers{0x5A5A5A5A, 0x5A5A5A5A, 0x5A5A5A5A, 0x5A5A5A5A,
                                                   0x5A5A5A5A};
inline constexpr int32_t kLeftover = 0x5A5A5A5A;

struct Options {
    bool longDb = false;
    bool floatOddAddress = false;
};

inline constexpr Options kNormal{};
inline constexpr Options kLong{true, false};
inline constexpr Options kFloatOdd{false, true};

struct Outcome {
    int result;
    zelmpi::TagAddress tag;
    std::vector<std::string> calls;  // every platform call, log lines included
};

inline Outcome RunOperation(int32_t operation, const char* addressText, int32_t hostType,
                            Options options = kNormal, int32_t elementCount = 1) {
    zelmpi::DriverContext context{};
    context.longDb = options.longDb ? 1 : 0;
    context.floatOddAddress = options.floatOddAddress ? 1 : 0;
    zelmpi::TagDefinition definition{addressText, 0, hostType, elementCount, kHostLeftovers};
    zelmpi::DriverRequest request{&context, operation, 0, 0, &definition};
    fakes::ResetAllFakes();
    const int result = ZelMain(&request);
    return {result, definition.tag, fakes::Calls()};
}

inline Outcome Parse(const std::string& address, int32_t hostType, Options options = kNormal) {
    return RunOperation(zelmpi::OP_PARSE, address.c_str(), hostType, options);
}

inline int32_t Packed(int dbNumber, int offset) {
    return static_cast<int32_t>((static_cast<uint32_t>(dbNumber) << 16) |
                                static_cast<uint32_t>(offset));
}

inline std::string LogLine(const std::string& text) {
    return "err: " + text;
}

// An address for a trace: bytes outside printable ASCII in hex, long strings cut.
inline std::string Printable(const std::string& address) {
    std::string shown;
    for (char character : address.substr(0, 40)) {
        const auto code = static_cast<unsigned char>(character);
        if (code >= 0x20 && code < 0x7F) {
            shown += character;
        } else {
            static constexpr char kHex[] = "0123456789ABCDEF";
            shown += "\\x";
            shown += kHex[code >> 4];
            shown += kHex[code & 0xF];
        }
    }
    if (address.size() > 40) shown += "... (" + std::to_string(address.size()) + " characters)";
    return "\"" + shown + "\"";
}

}  // namespace addressing_test

// Internal linkage: other test files may compare records their own way.
namespace zelmpi {
static inline bool operator==(const TagAddress& left, const TagAddress& right) {
    return left.plc == right.plc && left.accessCode == right.accessCode &&
           left.packedAddress == right.packedAddress && left.bitNumber == right.bitNumber &&
           left.width == right.width;
}
static inline std::ostream& operator<<(std::ostream& out, const TagAddress& tag) {
    return out << "{plc " << tag.plc << ", accessCode " << tag.accessCode << ", packedAddress 0x"
               << std::hex << tag.packedAddress << std::dec << ", bitNumber " << tag.bitNumber
               << ", width " << tag.width << "}";
}
}  // namespace zelmpi

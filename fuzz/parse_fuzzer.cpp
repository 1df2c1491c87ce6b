// libFuzzer harness: arbitrary bytes as a tag address, with arbitrary host type, element count
// and address options, through OP_PARSE or OP_CHECK_SIZE. Besides the sanitizers' checks it
// asserts what the host relies on: one log line per refusal, none on acceptance, and a record
// that stays within its ranges whenever the address is accepted.
#include <cstdarg>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "addressing/string_tag_length.h"
#include "platform/host_runtime.h"
#include "zelmpi/zelmpi.h"

namespace {

int loggedLines = 0;
bool loggedForeignLine = false;

void Require(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "parse_fuzzer: %s\n", what);
    std::abort();
}

bool IsFourByteCode(int32_t code) {
    return code == 'F' || code == 'f' || code == 'D' || code == 'd';
}

void CheckAcceptedRecord(const zelmpi::TagDefinition& definition, int32_t operation, bool longDb) {
    using namespace zelmpi;
    const TagAddress& tag = definition.tag;
    Require(tag.plc >= 0 && tag.plc <= 99, "plc out of range");
    switch (tag.accessCode) {
        case 0:
        case 1:
        case 'B':
        case 'F':
        case 'f':
        case 'D':
        case 'd':
        case 'S':
        case 'I':
        case 'Q':
        case 'M':
            break;
        default:
            Require(false, "unknown accessCode");
    }
    Require(tag.width == (IsFourByteCode(tag.accessCode) ? 32 : 16), "width");
    const auto packed = static_cast<uint32_t>(tag.packedAddress);
    Require((packed >> 16) <= 9999, "data block number");
    const bool dataBlock = tag.accessCode != 'I' && tag.accessCode != 'Q' && tag.accessCode != 'M';
    if (!dataBlock) Require(packed <= 9999, "input, output or marker byte");
    const bool bitTag = definition.hostType == HOST_TYPE_BIT && tag.accessCode != 'S';
    if (operation == OP_PARSE && bitTag) {
        const int highest = tag.accessCode == 0 || tag.accessCode == 1 ? 15 : 7;
        Require(tag.bitNumber >= 0 && tag.bitNumber <= highest, "bit number");
    } else {
        Require(tag.bitNumber == kNoBit, "bit number on a tag that is no bit tag");
    }
    if (tag.accessCode == 'S') {
        const int length = DeclaredStringLength(definition.addressText, longDb);
        Require(length >= 1 && length <= 80, "declared string length");
    }
}

}  // namespace

// The host's log: counts lines and checks that each is a parser line.
extern "C" int err(int level, const char* format, ...) {
    char text[512];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    ++loggedLines;
    static constexpr char kParserPrefix[] = "RAVUDE> ParseAddress() ";
    if (level != zelmpi::kLogLevel ||
        std::strncmp(text, kParserPrefix, sizeof kParserPrefix - 1) != 0) {
        loggedForeignLine = true;
    }
    return 0;
}

// Input: one byte of options (bit 0 longDb, bit 1 floatOddAddress, bit 2 OP_CHECK_SIZE,
// bits 3-7 the host type minus 8), two bytes of element count, then the address text.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace zelmpi;
    constexpr size_t kHeader = 3;
    if (size < kHeader) return 0;
    const bool longDb = (data[0] & 1u) != 0;
    const bool floatOddAddress = (data[0] & 2u) != 0;
    const int32_t operation = (data[0] & 4u) != 0 ? OP_CHECK_SIZE : OP_PARSE;
    const int32_t hostType = (data[0] >> 3) - 8;
    const auto elementCount = static_cast<int16_t>(data[1] | (data[2] << 8));

    // Exactly the text and its NUL, so that any read past the end is caught.
    std::vector<char> text(data + kHeader, data + size);
    text.push_back('\0');

    DriverContext context{};
    context.longDb = longDb ? 1 : 0;
    context.floatOddAddress = floatOddAddress ? 1 : 0;
    TagDefinition definition{text.data(), 0, hostType, elementCount, {}};
    DriverRequest request{&context, operation, 0, 0, &definition};

    loggedLines = 0;
    loggedForeignLine = false;
    const int result = ZelMain(&request);
    Require(result == DRV_OK || result == DRV_FAILED, "result");
    Require(!loggedForeignLine, "a line that is no parser line");
    if (operation == OP_PARSE) {
        Require(loggedLines == (result == DRV_OK ? 0 : 1), "one line per refusal, none otherwise");
    } else {
        Require(loggedLines <= 1, "at most one line");
        Require(loggedLines == 0 || result == DRV_FAILED, "a logged refusal that answered 0");
    }
    if (result == DRV_OK) CheckAcceptedRecord(definition, operation, longDb);
    (void)DeclaredStringLength(text.data(), longDb);
    return 0;
}

// The decoded address of one tag, and the two host blocks that carry it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "zelmpi/platform_abi.h"

namespace zelmpi {

// accessCode values: which PLC access routine serves the tag.
enum AccessCode : int32_t {
    ACCESS_WORD_EVEN = 0x00,  // data-block word at an even byte
    ACCESS_WORD_ODD = 0x01,   // data-block word at an odd byte
    ACCESS_BYTE = 'B',
    ACCESS_FLOAT = 'F',
    ACCESS_FLOAT_HIGH = 'f',  // float at byte address 2 (mod 4)
    ACCESS_DWORD = 'D',
    ACCESS_DWORD_HIGH = 'd',  // double word at byte address 2 (mod 4)
    ACCESS_STRING = 'S',
    ACCESS_INPUT = 'I',
    ACCESS_OUTPUT = 'Q',
    ACCESS_MARKER = 'M',
};

// Host data type codes the parser knows.
enum HostType : int32_t {
    HOST_TYPE_FLOAT = 3,
    HOST_TYPE_SIGNED32 = 4,
    HOST_TYPE_UNSIGNED32 = 5,
    HOST_TYPE_BIT = 6,
    HOST_TYPE_STRING = 7,
};

inline constexpr int32_t kNoBit = 255;

struct TagAddress {
    int32_t plc;            // 0..99
    int32_t accessCode;     // AccessCode
    int32_t packedAddress;  // data block number in bits 31..16, offset in bits 15..0
    int32_t bitNumber;      // kNoBit when the tag is not a bit tag
    int32_t width;          // 16 or 32 bits, for the host
};

// Parameter block of OP_PARSE and OP_CHECK_SIZE.
struct TagDefinition {
    const char* addressText;
    uint32_t reserved;
    int32_t hostType;
    int32_t elementCount;  // looked at by OP_CHECK_SIZE only
    TagAddress tag;
};

// Parameter block of the reads and writes.
struct TagTransfer {
    const char* addressText;  // read again for string tags only
    uint32_t reserved4;
    TagAddress tag;
    uint32_t reserved28;
    int32_t elementCount;
    uint32_t reserved36;
    void* values;  // the host's value array
};

static_assert(sizeof(TagAddress) == 20);
static_assert(offsetof(TagAddress, packedAddress) == 8);
#if ZELMPI_TARGET_IS_32BIT
static_assert(offsetof(TagDefinition, addressText) == 0);
static_assert(offsetof(TagDefinition, hostType) == 8);
static_assert(offsetof(TagDefinition, elementCount) == 12);
static_assert(offsetof(TagDefinition, tag) == 16);
static_assert(sizeof(TagDefinition) == 36);
static_assert(offsetof(TagTransfer, addressText) == 0);
static_assert(offsetof(TagTransfer, tag) == 8);
static_assert(offsetof(TagTransfer, elementCount) == 32);
static_assert(offsetof(TagTransfer, values) == 40);
static_assert(sizeof(TagTransfer) == 44);
#endif

}  // namespace zelmpi

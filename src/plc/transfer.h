// What the reads and writes share: the transfer block behind a request, the tag's kinds,
// data block number and offset, and the sizes of the transfer buffers.
#pragma once

#include <cstdint>

#include "zelmpi/driver_request.h"
#include "zelmpi/tag_address.h"

namespace zelmpi {

// Transfer buffers, local to each call: data blocks, and inputs, outputs and markers.
inline constexpr int kDataBlockBufferBytes = 520;
inline constexpr int kAreaBufferBytes = 260;
// A PLC string's stored form starts with two bytes: maximum length and current length.
inline constexpr int kStringHeaderBytes = 2;

inline TagTransfer& TransferOf(const DriverRequest* request) {
    return *static_cast<TagTransfer*>(request->params);
}

// Data block number: bits 31 to 16 of the packed address.
inline int DataBlockOf(const TagTransfer& transfer) {
    return static_cast<int>(static_cast<uint32_t>(transfer.tag.packedAddress) >> 16);
}

// Offset within the data block, in the unit the access code gives: bits 15 to 0.
inline int OffsetOf(const TagTransfer& transfer) {
    return static_cast<int>(static_cast<uint32_t>(transfer.tag.packedAddress) & 0xFFFFu);
}

// The kinds whose host element is 16 bits; their single value sits in the second element.
inline bool IsSixteenBitKind(int32_t accessCode) {
    switch (accessCode) {
        case ACCESS_WORD_EVEN:
        case ACCESS_WORD_ODD:
        case ACCESS_BYTE:
        case ACCESS_INPUT:
        case ACCESS_OUTPUT:
        case ACCESS_MARKER:
            return true;
        default:
            return false;
    }
}

}  // namespace zelmpi

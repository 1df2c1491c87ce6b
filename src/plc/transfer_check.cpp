#include "plc/transfer_check.h"

#include "addressing/string_tag_length.h"
#include "platform/host_runtime.h"
#include "plc/transfer.h"
#include "zelmpi/tag_address.h"

namespace zelmpi {

namespace {

constexpr int kHighestPlc = 99;

struct KindLimits {
    int elementBytes;  // PLC bytes per element; 0 for an access code no tag has
    int bufferBytes;
};

KindLimits LimitsOf(int32_t accessCode) {
    switch (accessCode) {
        case ACCESS_BYTE:
        case ACCESS_STRING:
            return {1, kDataBlockBufferBytes};
        case ACCESS_WORD_EVEN:
        case ACCESS_WORD_ODD:
            return {2, kDataBlockBufferBytes};
        case ACCESS_FLOAT:
        case ACCESS_FLOAT_HIGH:
        case ACCESS_DWORD:
        case ACCESS_DWORD_HIGH:
            return {4, kDataBlockBufferBytes};
        case ACCESS_INPUT:
        case ACCESS_OUTPUT:
        case ACCESS_MARKER:
            return {1, kAreaBufferBytes};
        default:
            return {0, 0};
    }
}

bool AcceptStringLength(const DriverRequest* request, const TagTransfer& transfer) {
    if (transfer.addressText == nullptr) {
        err(kLogLevel, "RavUDE : string tag without address text refused (Plc#%d)",
            transfer.tag.plc);
        return false;
    }
    const int length = StringTagLength(request);
    const int longest = kDataBlockBufferBytes - kStringHeaderBytes;
    if (length >= 1 && length <= longest) return true;
    err(kLogLevel, "RavUDE : string length %d refused (Plc#%d), 1 to %d fit the %d-byte buffer",
        length, transfer.tag.plc, longest, kDataBlockBufferBytes);
    return false;
}

}  // namespace

bool AcceptTransfer(const DriverRequest* request) {
    if (request->context == nullptr || request->params == nullptr) {
        err(kLogLevel, "RavUDE : request without context or transfer block refused");
        return false;
    }
    const TagTransfer& transfer = TransferOf(request);
    const int plc = transfer.tag.plc;
    if (plc < 0 || plc > kHighestPlc) {
        err(kLogLevel, "RavUDE : PLC number %d refused, 0 to %d allowed", plc, kHighestPlc);
        return false;
    }
    const KindLimits limits = LimitsOf(transfer.tag.accessCode);
    if (limits.elementBytes == 0) {
        err(kLogLevel, "RavUDE : access code 0x%X refused (Plc#%d)",
            static_cast<unsigned int>(transfer.tag.accessCode), plc);
        return false;
    }
    if (transfer.values == nullptr) {
        err(kLogLevel, "RavUDE : request without value array refused (Plc#%d)", plc);
        return false;
    }
    // A string transfer moves one string of its declared length; the count is not used.
    if (transfer.tag.accessCode == ACCESS_STRING) return AcceptStringLength(request, transfer);

    const int mostElements = limits.bufferBytes / limits.elementBytes;
    if (transfer.elementCount >= 1 && transfer.elementCount <= mostElements) return true;
    err(kLogLevel, "RavUDE : element count %d refused (Plc#%d), 1 to %d fit the %d-byte buffer",
        transfer.elementCount, plc, mostElements, limits.bufferBytes);
    return false;
}

bool AcceptBitNumber(const DriverRequest* request) {
    const TagTransfer& transfer = TransferOf(request);
    const int32_t bit = transfer.tag.bitNumber;
    if (bit == kNoBit) return true;
    if (IsSixteenBitKind(transfer.tag.accessCode) && bit >= 0 && bit <= 15) return true;
    err(kLogLevel, "RavUDE : bit number %d refused (Plc#%d)", bit, transfer.tag.plc);
    return false;
}

}  // namespace zelmpi

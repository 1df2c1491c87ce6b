#include "plc/typed_reads.h"

#include <cstring>

#include "addressing/string_tag_length.h"
#include "platform/host_runtime.h"
#include "platform/plc_library.h"
#include "plc/host_values.h"
#include "plc/transfer.h"
#include "zelmpi/results.h"
#include "zelmpi/tag_address.h"

namespace zelmpi {

namespace {

// The codes by which the library says that the station cannot be reached.
constexpr int kStationNotReachable = 0x4002;
constexpr int kLinkNotReachable = 0xFF10;

int FailureOf(int libraryCode) {
    return libraryCode == kStationNotReachable || libraryCode == kLinkNotReachable ? DRV_OFFLINE
                                                                                   : DRV_FAILED;
}

unsigned int Hex(int libraryCode) {
    return static_cast<unsigned int>(libraryCode);
}

int ReadDataBlockBytes(DriverRequest* request) {
    const TagTransfer& transfer = TransferOf(request);
    const int db = DataBlockOf(transfer);
    const int start = OffsetOf(transfer);
    const int count = transfer.elementCount;
    uint8_t buffer[kDataBlockBufferBytes];
    const int rc = d_field_read(db, start, count, buffer);
    if (rc != 0) {
        err(kLogLevel, "RavUDE : d_field_read failed (Plc#%d,db=%d,Addr=%d),rc=%X",
            transfer.tag.plc, db, start, Hex(rc));
        return FailureOf(rc);
    }
    for (int i = 0; i < count; ++i) StoreHostElement<uint16_t>(transfer.values, i, buffer[i]);
    return DRV_OK;
}

// Words, double words, floats and strings share the data-block read and its message.
int ReadDataBlock(const TagTransfer& transfer, int start, int byteCount, uint8_t* buffer) {
    const int db = DataBlockOf(transfer);
    const int rc = d_field_read(db, start, byteCount, buffer);
    if (rc == 0) return DRV_OK;
    err(kLogLevel, "RavUDE : db_read failed (Plc#%d,db=%d,Addr=%d),rc=%X", transfer.tag.plc, db,
        start, Hex(rc));
    return FailureOf(rc);
}

int ReadWords(DriverRequest* request, int startWithinWord) {
    const TagTransfer& transfer = TransferOf(request);
    const int count = transfer.elementCount;
    uint8_t buffer[kDataBlockBufferBytes];
    const int result =
        ReadDataBlock(transfer, 2 * OffsetOf(transfer) + startWithinWord, 2 * count, buffer);
    if (result != DRV_OK) return result;
    for (int i = 0; i < count; ++i) {
        StoreHostElement<uint16_t>(transfer.values, i, PlcWordAt(buffer + 2 * i));
    }
    return DRV_OK;
}

int ReadWordsAtEvenByte(DriverRequest* request) {
    return ReadWords(request, 0);
}
int ReadWordsAtOddByte(DriverRequest* request) {
    return ReadWords(request, 1);
}

// 'd' and 'f' values start two bytes into their 4-byte unit.
int FourByteStart(const TagTransfer& transfer) {
    const bool high = transfer.tag.accessCode == ACCESS_DWORD_HIGH ||
                      transfer.tag.accessCode == ACCESS_FLOAT_HIGH;
    return 4 * OffsetOf(transfer) + (high ? 2 : 0);
}

int ReadDoubleWords(DriverRequest* request) {
    const TagTransfer& transfer = TransferOf(request);
    const int count = transfer.elementCount;
    uint8_t buffer[kDataBlockBufferBytes];
    const int result = ReadDataBlock(transfer, FourByteStart(transfer), 4 * count, buffer);
    if (result != DRV_OK) return result;
    for (int i = 0; i < count; ++i) {
        StoreHostElement<uint32_t>(transfer.values, i, PlcDwordAt(buffer + 4 * i));
    }
    return DRV_OK;
}

int ReadFloats(DriverRequest* request) {
    const TagTransfer& transfer = TransferOf(request);
    const int count = transfer.elementCount;
    uint8_t buffer[kDataBlockBufferBytes];
    const int result = ReadDataBlock(transfer, FourByteStart(transfer), 4 * count, buffer);
    if (result != DRV_OK) return result;
    for (int i = 0; i < count; ++i) {
        float value = 0.0f;
        plc_real_to_float(buffer + 4 * i, &value);  // the conversion's result says nothing
        StoreHostElement<float>(transfer.values, i, value);
    }
    return DRV_OK;
}

// The characters behind the two header bytes, whatever the current length says; no NUL.
int ReadString(DriverRequest* request) {
    const TagTransfer& transfer = TransferOf(request);
    const int length = StringTagLength(request);
    uint8_t buffer[kDataBlockBufferBytes];
    const int result =
        ReadDataBlock(transfer, OffsetOf(transfer), length + kStringHeaderBytes, buffer);
    if (result != DRV_OK) return result;
    std::memcpy(transfer.values, buffer + kStringHeaderBytes, static_cast<size_t>(length));
    return DRV_OK;
}

// Inputs, outputs and markers take the whole packed address as their start byte. Returns the
// library's code; the values are converted when it is 0.
using AreaRead = int(ZELMPI_PLC_CALL*)(int start, int count, void* buffer);

int ReadAreaBytes(const TagTransfer& transfer, AreaRead read) {
    const int count = transfer.elementCount;
    uint8_t buffer[kAreaBufferBytes];
    const int rc = read(transfer.tag.packedAddress, count, buffer);
    if (rc != 0) return rc;
    for (int i = 0; i < count; ++i) StoreHostElement<uint16_t>(transfer.values, i, buffer[i]);
    return 0;
}

int ReadInputs(DriverRequest* request) {
    const TagTransfer& transfer = TransferOf(request);
    const int rc = ReadAreaBytes(transfer, e_read);
    if (rc == 0) return DRV_OK;
    err(kLogLevel, "RavUDE : e_read failed (Plc#%d,Addr=%d),rc=%X", transfer.tag.plc,
        transfer.tag.packedAddress, Hex(rc));
    return FailureOf(rc);
}

int ReadOutputs(DriverRequest* request) {
    const TagTransfer& transfer = TransferOf(request);
    const int rc = ReadAreaBytes(transfer, a_read);
    if (rc == 0) return DRV_OK;
    err(kLogLevel, "RavUDE : a_read failed (Plc#%d,Addr=%d),rc=%X", transfer.tag.plc,
        transfer.tag.packedAddress, Hex(rc));
    return FailureOf(rc);
}

int ReadMarkers(DriverRequest* request) {
    const TagTransfer& transfer = TransferOf(request);
    const int rc = ReadAreaBytes(transfer, m_read);
    if (rc == 0) return DRV_OK;
    err(kLogLevel, "RavUDE : m_read failed (Plc#%d,Addr=%d),rc=%X", transfer.tag.plc,
        transfer.tag.packedAddress, Hex(rc));
    return FailureOf(rc);
}

}  // namespace

TypedRead ReadRoutineFor(int32_t accessCode) {
    switch (accessCode) {
        case ACCESS_WORD_EVEN:
            return ReadWordsAtEvenByte;
        case ACCESS_WORD_ODD:
            return ReadWordsAtOddByte;
        case ACCESS_BYTE:
            return ReadDataBlockBytes;
        case ACCESS_DWORD:
        case ACCESS_DWORD_HIGH:
            return ReadDoubleWords;
        case ACCESS_FLOAT:
        case ACCESS_FLOAT_HIGH:
            return ReadFloats;
        case ACCESS_STRING:
            return ReadString;
        case ACCESS_INPUT:
            return ReadInputs;
        case ACCESS_OUTPUT:
            return ReadOutputs;
        case ACCESS_MARKER:
            return ReadMarkers;
        default:
            return nullptr;
    }
}

}  // namespace zelmpi

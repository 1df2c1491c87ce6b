#include "plc/typed_writes.h"

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

unsigned int Hex(int libraryCode) {
    return static_cast<unsigned int>(libraryCode);
}

// Byte i is the low-order byte of element i; the high-order byte is dropped.
void PutLowBytes(const TagTransfer& transfer, uint8_t* buffer) {
    for (int i = 0; i < transfer.elementCount; ++i) {
        buffer[i] = static_cast<uint8_t>(LoadHostElement<uint16_t>(transfer.values, i));
    }
}

int WriteDataBlockBytes(DriverRequest* request) {
    const TagTransfer& transfer = TransferOf(request);
    const int db = DataBlockOf(transfer);
    const int start = OffsetOf(transfer);
    uint8_t buffer[kDataBlockBufferBytes];
    PutLowBytes(transfer, buffer);
    const int rc = d_field_write(db, start, transfer.elementCount, buffer);
    if (rc == 0) return DRV_OK;
    err(kLogLevel, "RavUDE : d_field_write failed (db=%d,Addr=%d),rc=%X", db, start, Hex(rc));
    return DRV_FAILED;
}

// Words and strings go by byte address, double words and floats by data word; all of them
// report with the same message.
int WriteDataBlockField(const TagTransfer& transfer, int start, int byteCount, uint8_t* buffer) {
    const int db = DataBlockOf(transfer);
    const int rc = d_field_write(db, start, byteCount, buffer);
    if (rc == 0) return DRV_OK;
    err(kLogLevel, "RavUDE : db_write failed (db=%d,Addr=%d),rc=%X", db, start, Hex(rc));
    return DRV_FAILED;
}

int WriteDataWords(const TagTransfer& transfer, int startWord, int wordCount, uint8_t* buffer) {
    const int db = DataBlockOf(transfer);
    int words = wordCount;
    const int rc = db_write(db, startWord, &words, buffer);
    if (rc == 0) return DRV_OK;
    err(kLogLevel, "RavUDE : db_write failed (db=%d,Addr=%d),rc=%X", db, startWord, Hex(rc));
    return DRV_FAILED;
}

int WriteWords(DriverRequest* request, int startWithinWord) {
    const TagTransfer& transfer = TransferOf(request);
    const int count = transfer.elementCount;
    uint8_t buffer[kDataBlockBufferBytes];
    for (int i = 0; i < count; ++i) {
        PutPlcWord(buffer + 2 * i, LoadHostElement<uint16_t>(transfer.values, i));
    }
    return WriteDataBlockField(transfer, 2 * OffsetOf(transfer) + startWithinWord, 2 * count,
                               buffer);
}

int WriteWordsAtEvenByte(DriverRequest* request) {
    return WriteWords(request, 0);
}
int WriteWordsAtOddByte(DriverRequest* request) {
    return WriteWords(request, 1);
}

// A 4-byte unit is two data words; 'd' and 'f' values start one data word into it.
int FourByteStartWord(const TagTransfer& transfer) {
    const bool high = transfer.tag.accessCode == ACCESS_DWORD_HIGH ||
                      transfer.tag.accessCode == ACCESS_FLOAT_HIGH;
    return 2 * OffsetOf(transfer) + (high ? 1 : 0);
}

int WriteDoubleWords(DriverRequest* request) {
    const TagTransfer& transfer = TransferOf(request);
    const int count = transfer.elementCount;
    uint8_t buffer[kDataBlockBufferBytes];
    for (int i = 0; i < count; ++i) {
        PutPlcDword(buffer + 4 * i, LoadHostElement<uint32_t>(transfer.values, i));
    }
    return WriteDataWords(transfer, FourByteStartWord(transfer), 2 * count, buffer);
}

int WriteFloats(DriverRequest* request) {
    const TagTransfer& transfer = TransferOf(request);
    const int count = transfer.elementCount;
    uint8_t buffer[kDataBlockBufferBytes];
    for (int i = 0; i < count; ++i) {
        const float value = LoadHostElement<float>(transfer.values, i);
        float_to_plc_real(&value, buffer + 4 * i);  // the conversion's result says nothing
    }
    return WriteDataWords(transfer, FourByteStartWord(transfer), 2 * count, buffer);
}

// The PLC's stored form: maximum length L, current length, then the characters padded with
// zero bytes up to L. A longer host string is cut to L; it is never read beyond L characters.
int WriteString(DriverRequest* request) {
    const TagTransfer& transfer = TransferOf(request);
    const int length = StringTagLength(request);
    const auto* text = static_cast<const char*>(transfer.values);
    int used = 0;
    while (used < length && text[used] != '\0') ++used;

    uint8_t buffer[kDataBlockBufferBytes];
    buffer[0] = static_cast<uint8_t>(length);
    buffer[1] = static_cast<uint8_t>(used);
    std::memset(buffer + kStringHeaderBytes, 0, static_cast<size_t>(length));
    std::memcpy(buffer + kStringHeaderBytes, text, static_cast<size_t>(used));
    return WriteDataBlockField(transfer, OffsetOf(transfer), length + kStringHeaderBytes, buffer);
}

// Outputs and markers take the whole packed address as their start byte; inputs cannot be
// written and are left alone without a word.
int WriteArea(DriverRequest* request) {
    const TagTransfer& transfer = TransferOf(request);
    const int32_t code = transfer.tag.accessCode;
    if (code == ACCESS_INPUT) return DRV_OK;
    const int start = transfer.tag.packedAddress;
    uint8_t buffer[kAreaBufferBytes];
    PutLowBytes(transfer, buffer);
    if (code == ACCESS_OUTPUT) {
        const int rc = a_write(start, transfer.elementCount, buffer);
        if (rc == 0) return DRV_OK;
        err(kLogLevel, "RavUDE : a_write failed (Addr=%d),rc=%X", start, Hex(rc));
        return DRV_FAILED;
    }
    const int rc = m_write(start, transfer.elementCount, buffer);
    if (rc == 0) return DRV_OK;
    err(kLogLevel, "RavUDE : m_write failed (Addr=%d),rc=%X", start, Hex(rc));
    return DRV_FAILED;
}

}  // namespace

TypedWrite WriteRoutineFor(int32_t accessCode) {
    switch (accessCode) {
        case ACCESS_WORD_EVEN:
            return WriteWordsAtEvenByte;
        case ACCESS_WORD_ODD:
            return WriteWordsAtOddByte;
        case ACCESS_BYTE:
            return WriteDataBlockBytes;
        case ACCESS_DWORD:
        case ACCESS_DWORD_HIGH:
            return WriteDoubleWords;
        case ACCESS_FLOAT:
        case ACCESS_FLOAT_HIGH:
            return WriteFloats;
        case ACCESS_STRING:
            return WriteString;
        case ACCESS_INPUT:
        case ACCESS_OUTPUT:
        case ACCESS_MARKER:
            return WriteArea;
        default:
            return nullptr;
    }
}

}  // namespace zelmpi

#include "addressing/parse_address.h"

#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "addressing/address_template.h"
#include "addressing/normalised_address.h"
#include "addressing/number_fields.h"
#include "entry/context_access.h"
#include "entry/handlers.h"
#include "platform/host_runtime.h"
#include "zelmpi/results.h"

namespace zelmpi {

namespace {

constexpr char kWrongCharacters[] = "RAVUDE> ParseAddress() wrong characters in address string";
constexpr char kPlcOutOfLimit[] = "RAVUDE> ParseAddress() PLC number out of limit";
constexpr char kLengthShouldBe14[] =
    "RAVUDE> ParseAddress() wrong address string length for this type, should be 14 but is %d";
constexpr char kLengthShouldBe13[] =
    "RAVUDE> ParseAddress() wrong address string length for this type, should be 13 but is %d";
constexpr char kLengthShouldBe12[] =
    "RAVUDE> ParseAddress() wrong address string length for this type, should be 12 but is %d";
constexpr char kLengthShouldBe11[] =
    "RAVUDE> ParseAddress() wrong address string length for this type, should be 11 but is %d";
constexpr char kTypeLetterNotCorrect[] =
    "RAVUDE> ParseAddress() tag type in address string not correct";
constexpr char kShouldBeString[] =
    "RAVUDE> ParseAddress() wrong tag type this address, should be string";
constexpr char kWrongStringLength[] =
    "RAVUDE> ParseAddress() wrong string length, should be from 1 to 80";
constexpr char kAddressShouldBeEven[] =
    "RAVUDE> ParseAddress() tag address should be even for this type";
constexpr char kShouldBeFloat[] =
    "RAVUDE> ParseAddress() wrong tag type this address, should be float";
constexpr char kShouldBe32Bit[] =
    "RAVUDE> ParseAddress() wrong tag type this address, should be SIGNED32 or UNSIGNED32";
constexpr char kWrongBitNumber[] = "RAVUDE> ParseAddress() wrong bit number in address string";

template <const char* Message, typename... Arguments>
int Refuse(Arguments... arguments) {
    err(kLogLevel, Message, arguments...);
    return DRV_FAILED;
}

int RefuseLength(int expected, int length) {
    switch (expected) {
        case 14:
            return Refuse<kLengthShouldBe14>(length);
        case 13:
            return Refuse<kLengthShouldBe13>(length);
        case 12:
            return Refuse<kLengthShouldBe12>(length);
        default:
            return Refuse<kLengthShouldBe11>(length);
    }
}

// Where the fields of a data-block address sit; everything after the DB number moves one
// position right when DB numbers have four digits.
struct DataBlockLayout {
    std::size_t dbNumberWidth;
    std::size_t byteAddressFirst;
    std::size_t suffixFirst;  // bit number or string length, two positions
    int plainLength;
    int suffixedLength;  // bit tags and strings
};

constexpr DataBlockLayout kNormalLayout{3, 7, 11, 11, 13};
constexpr DataBlockLayout kLongLayout{4, 8, 12, 12, 14};

constexpr std::size_t kPlcFirst = 0;
constexpr std::size_t kPlcWidth = 2;
constexpr std::size_t kAreaPosition = 2;
constexpr std::size_t kTypePosition = 3;
constexpr std::size_t kDbNumberFirst = 4;
constexpr std::size_t kByteAddressWidth = 4;
constexpr std::size_t kIqmByteAddressFirst = 4;
constexpr std::size_t kIqmBitFirst = 8;
constexpr std::size_t kBitWidth = 2;
constexpr int kHighestPlc = 99;
constexpr int kLongestString = 80;
constexpr int kHighestWordBit = 15;
constexpr int kHighestByteBit = 7;
constexpr int32_t kValueWidth16 = 16;
constexpr int32_t kValueWidth32 = 32;

int HostStringLength(const char* addressText) {
    const std::size_t length = std::strlen(addressText);
    return length > static_cast<std::size_t>(INT_MAX) ? INT_MAX : static_cast<int>(length);
}

int32_t PackAddress(int dbNumber, int offset) {
    return static_cast<int32_t>((static_cast<uint32_t>(dbNumber) << 16) |
                                static_cast<uint32_t>(offset));
}

// One parse: all its state lives here, on the caller's stack.
class AddressParser {
  public:
    AddressParser(const DriverContext& context, TagDefinition& definition, ParseMode mode)
        : context_(context),
          hostType_(definition.hostType),
          tag_(definition.tag),
          mode_(mode),
          layout_(context.longDb != 0 ? kLongLayout : kNormalLayout) {}

    int Parse(const char* addressText) {
        if (addressText == nullptr) return Refuse<kWrongCharacters>();
        length_ = HostStringLength(addressText);
        NormaliseAddress(addressText, address_);
        if (!MatchTemplate(DbTemplate, address_) && !MatchTemplate(IqmTemplate, address_)) {
            return Refuse<kWrongCharacters>();
        }
        tag_.plc = 0;
        tag_.bitNumber = kNoBit;
        tag_.width = kValueWidth16;
        tag_.plc = ReadDecimalField(address_, kPlcFirst, kPlcWidth).value;
        if (tag_.plc > kHighestPlc) return Refuse<kPlcOutOfLimit>();
        if (address_[kAreaPosition] == 'X') {
            address_[kAreaPosition] = 'D';
            hexAddress_ = true;
        }
        const bool dataBlock = address_[kAreaPosition] == 'D';
        tag_.accessCode = dataBlock ? address_[kTypePosition] : address_[kAreaPosition];
        if (tag_.accessCode == ACCESS_STRING) return ParseString();
        if (dataBlock) return ParseDataBlock();
        return ParseInputsOutputsMarkers();
    }

  private:
    int ParseString() {
        if (length_ != layout_.suffixedLength) return RefuseLength(layout_.suffixedLength, length_);
        const int dbNumber = ReadDbNumber();
        const char typeLetter = address_[kTypePosition];
        if (typeLetter != 'B' && typeLetter != 'S') return Refuse<kTypeLetterNotCorrect>();
        if (hostType_ != HOST_TYPE_STRING) return Refuse<kShouldBeString>();
        // A string's byte address is decimal even after an X.
        const FieldNumber byteAddress =
            ReadDecimalField(address_, layout_.byteAddressFirst, kByteAddressWidth);
        if (!byteAddress.present) return Refuse<kWrongCharacters>();
        tag_.packedAddress = byteAddress.value;
        const int stringLength = ReadStringLengthField(address_, layout_.suffixFirst);
        if (stringLength < 1 || stringLength > kLongestString) return Refuse<kWrongStringLength>();
        tag_.packedAddress = PackAddress(dbNumber, byteAddress.value);
        return DRV_OK;
    }

    int ParseDataBlock() {
        const int expectedLength =
            hostType_ == HOST_TYPE_BIT ? layout_.suffixedLength : layout_.plainLength;
        if (length_ != expectedLength) return RefuseLength(expectedLength, length_);
        const int dbNumber = ReadDbNumber();
        const FieldNumber byteAddress =
            hexAddress_
                ? ReadHexadecimalField(address_, layout_.byteAddressFirst, kByteAddressWidth)
                : ReadDecimalField(address_, layout_.byteAddressFirst, kByteAddressWidth);
        // A field that starts with A-F in a decimal address, or a blank one, names no byte.
        if (!byteAddress.present) return Refuse<kWrongCharacters>();
        const int address = byteAddress.value;
        tag_.packedAddress = address;
        const bool odd = (address & 1) != 0;
        const bool secondHalfOfDoubleWord = address % 4 == 2;
        int offset = address;
        switch (tag_.accessCode) {
            case 'W':
                tag_.accessCode = odd ? ACCESS_WORD_ODD : ACCESS_WORD_EVEN;
                offset = address >> 1;
                break;
            case ACCESS_FLOAT:
                if (secondHalfOfDoubleWord) tag_.accessCode = ACCESS_FLOAT_HIGH;
                // An allowed odd address keeps 'F' and rounds down to its double word.
                if (odd && context_.floatOddAddress == 0) return Refuse<kAddressShouldBeEven>();
                offset = address >> 2;
                tag_.width = kValueWidth32;
                break;
            case ACCESS_DWORD:
                if (secondHalfOfDoubleWord) tag_.accessCode = ACCESS_DWORD_HIGH;
                if (odd) return Refuse<kAddressShouldBeEven>();
                offset = address >> 2;
                tag_.width = kValueWidth32;
                break;
            default:  // B: the offset is the byte address
                break;
        }
        tag_.packedAddress = PackAddress(dbNumber, offset);
        if (mode_ == ParseMode::kParseOnly) return DRV_OK;
        if (const int result = CheckThirtyTwoBitHostType(); result != DRV_OK) return result;
        if (hostType_ != HOST_TYPE_BIT) return DRV_OK;  // the length check excluded a bit number
        return ReadBitNumber(layout_.suffixFirst,
                             tag_.accessCode == ACCESS_BYTE ? kHighestByteBit : kHighestWordBit);
    }

    int ParseInputsOutputsMarkers() {
        tag_.packedAddress =
            ReadDecimalField(address_, kIqmByteAddressFirst, kByteAddressWidth).value;
        if (mode_ == ParseMode::kParseOnly) return DRV_OK;
        if (hostType_ == HOST_TYPE_BIT) return ReadBitNumber(kIqmBitFirst, kHighestByteBit);
        // The second bit position is not looked at.
        if (address_[kIqmBitFirst] != ' ') return Refuse<kWrongBitNumber>();
        return DRV_OK;
    }

    int CheckThirtyTwoBitHostType() const {
        switch (tag_.accessCode) {
            case ACCESS_FLOAT:
            case ACCESS_FLOAT_HIGH:
                if (hostType_ != HOST_TYPE_FLOAT) return Refuse<kShouldBeFloat>();
                break;
            case ACCESS_DWORD:
            case ACCESS_DWORD_HIGH:
                if (hostType_ != HOST_TYPE_SIGNED32 && hostType_ != HOST_TYPE_UNSIGNED32) {
                    return Refuse<kShouldBe32Bit>();
                }
                break;
            default:
                break;
        }
        return DRV_OK;
    }

    // Both positions must be filled; the number is stored once it is known to be in range.
    int ReadBitNumber(std::size_t first, int highestBit) {
        if (address_[first] == ' ' || address_[first + 1] == ' ') return Refuse<kWrongBitNumber>();
        const int bitNumber = ReadDecimalField(address_, first, kBitWidth).value;
        if (bitNumber > highestBit) return Refuse<kWrongBitNumber>();
        tag_.bitNumber = bitNumber;
        return DRV_OK;
    }

    int ReadDbNumber() const {
        return ReadDecimalField(address_, kDbNumberFirst, layout_.dbNumberWidth).value;
    }

    const DriverContext& context_;
    const int32_t hostType_;
    TagAddress& tag_;
    const ParseMode mode_;
    const DataBlockLayout& layout_;
    NormalisedAddress address_{};
    int length_ = 0;
    bool hexAddress_ = false;
};

}  // namespace

int ParseTagDefinition(const DriverContext& context, TagDefinition& definition, ParseMode mode) {
    AddressParser parser(context, definition, mode);
    return parser.Parse(definition.addressText);
}

int ParseAddress(DriverRequest* request) {
    return ParseTagDefinition(ContextOf(request), *static_cast<TagDefinition*>(request->params),
                              ParseMode::kFull);
}

}  // namespace zelmpi

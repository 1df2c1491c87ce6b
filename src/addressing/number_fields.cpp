#include "addressing/number_fields.h"

namespace zelmpi {

namespace {

constexpr int kNotADigit = -1;

int DecimalDigitValue(char character) {
    if (character >= '0' && character <= '9') return character - '0';
    return kNotADigit;
}

// Normalised addresses hold upper-case letters only.
int HexadecimalDigitValue(char character) {
    if (character >= 'A' && character <= 'F') return character - 'A' + 10;
    return DecimalDigitValue(character);
}

template <int Base, int (*DigitValue)(char)>
FieldNumber ReadField(const NormalisedAddress& address, std::size_t first, std::size_t width) {
    FieldNumber number{0, false};
    for (std::size_t position = first; position < first + width; ++position) {
        const int digit = DigitValue(address[position]);
        if (digit == kNotADigit) break;
        number.value = number.value * Base + digit;
        number.present = true;
    }
    return number;
}

}  // namespace

FieldNumber ReadDecimalField(const NormalisedAddress& address, std::size_t first,
                             std::size_t width) {
    return ReadField<10, DecimalDigitValue>(address, first, width);
}

FieldNumber ReadHexadecimalField(const NormalisedAddress& address, std::size_t first,
                                 std::size_t width) {
    return ReadField<16, HexadecimalDigitValue>(address, first, width);
}

int ReadStringLengthField(const NormalisedAddress& address, std::size_t first) {
    constexpr std::size_t kFieldWidth = 2;
    const std::size_t digitsStart = address[first] == ' ' ? first + 1 : first;
    return ReadDecimalField(address, digitsStart, first + kFieldWidth - digitsStart).value;
}

}  // namespace zelmpi

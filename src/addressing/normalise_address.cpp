#include "addressing/normalised_address.h"

namespace zelmpi {

namespace {

char NormaliseCharacter(char character) {
    // The signed comparison keeps bytes 0x80-0xFF as they are.
    const auto code = static_cast<signed char>(character);
    if (code >= 0x61) return static_cast<char>(code - 0x20);
    return character;
}

}  // namespace

void NormaliseAddress(const char* addressText, NormalisedAddress& normalised) {
    normalised.fill('\0');
    std::size_t position = 0;
    for (; position < kExaminedPositions && addressText[position] != '\0'; ++position) {
        normalised[position] = NormaliseCharacter(addressText[position]);
    }
    for (; position < kTemplatePositions; ++position) normalised[position] = ' ';
}

}  // namespace zelmpi

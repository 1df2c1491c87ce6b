// The two character templates that a normalised address must fit, position by position.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "addressing/normalised_address.h"

namespace zelmpi {

// For every character code, the set of positions (bit p for position p) that admit it.
class AddressTemplate {
  public:
    using CharacterSets = std::array<std::string_view, kTemplatePositions>;

    consteval explicit AddressTemplate(const CharacterSets& sets) : admittingPositions_{} {
        for (std::size_t position = 0; position < kTemplatePositions; ++position) {
            for (char character : sets[position]) {
                admittingPositions_[static_cast<unsigned char>(character)] |=
                    static_cast<uint16_t>(1u << position);
            }
        }
    }

    bool Admits(std::size_t position, char character) const {
        const unsigned positions = admittingPositions_[static_cast<unsigned char>(character)];
        return ((positions >> position) & 1u) != 0;
    }

  private:
    std::array<uint16_t, 256> admittingPositions_;
};

namespace address_characters {
inline constexpr std::string_view kDigit = "0123456789";
inline constexpr std::string_view kHexDigit = "0123456789ABCDEF";
inline constexpr std::string_view kDigitOrBlank = "0123456789 ";
inline constexpr std::string_view kBlank = " ";
}  // namespace address_characters

// Data blocks: PLC, area X/D/S, type, DB number, byte address, bit number or string length.
inline constexpr AddressTemplate DbTemplate{AddressTemplate::CharacterSets{
    address_characters::kDigit, address_characters::kDigit, "XDS", "BWDFS",
    address_characters::kDigit, address_characters::kDigit, address_characters::kDigit,
    address_characters::kHexDigit, address_characters::kHexDigit, address_characters::kHexDigit,
    address_characters::kHexDigit, address_characters::kDigitOrBlank,
    address_characters::kDigitOrBlank}};

// Inputs, outputs and markers: PLC, area, B, byte address, optional bit number 00-07.
inline constexpr AddressTemplate IqmTemplate{AddressTemplate::CharacterSets{
    address_characters::kDigit, address_characters::kDigit, "XIQM", "B", address_characters::kDigit,
    address_characters::kDigit, address_characters::kDigit, address_characters::kDigit, "01234567 ",
    address_characters::kDigitOrBlank, address_characters::kBlank, address_characters::kBlank,
    address_characters::kBlank}};

// True when every position 0..12 of the address holds a character its set admits.
bool MatchTemplate(const AddressTemplate& pattern, const NormalisedAddress& address);

}  // namespace zelmpi

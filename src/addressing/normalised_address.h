// The working copy of a tag address string that the parser examines.
#pragma once

#include <array>
#include <cstddef>

namespace zelmpi {

inline constexpr std::size_t kNormalisedSize = 16;
// Positions 0..12 are matched against the templates; blanks pad shorter strings up to here.
inline constexpr std::size_t kTemplatePositions = 13;
// Position 13 holds the second bit or length digit of the long layout; nothing beyond it is
// ever looked at, so nothing beyond it is copied.
inline constexpr std::size_t kExaminedPositions = 14;

// Filled per call: two parses never share a copy.
using NormalisedAddress = std::array<char, kNormalisedSize>;

// Copies up to kExaminedPositions characters of the host's string, lower case to upper case
// (every code from 0x61 up, taken as a signed byte, moves down by 0x20; bytes 0x80-0xFF stay),
// then pads with blanks up to position 12. Unused positions hold NUL.
void NormaliseAddress(const char* addressText, NormalisedAddress& normalised);

}  // namespace zelmpi

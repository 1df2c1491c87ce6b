// Reading the number fields of a normalised address.
#pragma once

#include <cstddef>

#include "addressing/normalised_address.h"

namespace zelmpi {

struct FieldNumber {
    int value;
    bool present;  // false when the field starts with a character that is no digit
};

// The number formed by the field's leading digits, at most width of them; the first other
// character ends it.
FieldNumber ReadDecimalField(const NormalisedAddress& address, std::size_t first,
                             std::size_t width);
FieldNumber ReadHexadecimalField(const NormalisedAddress& address, std::size_t first,
                                 std::size_t width);

// The two-position string length field: a blank on either side of the digits is ignored, and a
// field without a digit counts as 0.
int ReadStringLengthField(const NormalisedAddress& address, std::size_t first);

}  // namespace zelmpi

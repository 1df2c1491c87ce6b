// Values as the user types and reads them, per value type: parsing with range checks, and
// formatting as text or JSON.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "value_array.h"
#include "value_type.h"

namespace zelhost {

// One value ready to be stored: the element's bits (16-bit types in the low half, floats as
// their bit pattern) or, for strings, the text.
struct HostValue {
    uint32_t bits = 0;
    std::string text;
};

// Parses text as a value of the type. On failure returns false and says why in error,
// e.g. "'300' is out of range for byte (0 to 255)".
bool ParseValue(ValueType type, std::string_view text, HostValue& value, std::string& error);

// Puts the value at element index of the array, in the type's layout.
void StoreValue(ValueType type, const HostValue& value, ValueArray& array, size_t index);

// The element at index, as the user reads it; strings come from the start of the array, at
// most maxChars characters. Text form: numbers plainly, strings quoted with C escapes.
std::string FormatValue(ValueType type, const ValueArray& array, size_t index, size_t maxChars);
// JSON form: numbers (null for a float that is not finite), strings as JSON strings.
std::string FormatValueJson(ValueType type, const ValueArray& array, size_t index, size_t maxChars);

// The string length an accepted string address declares: the decimal digits in positions
// 11-12 (12-13 with four-digit data block numbers), blanks on either side ignored.
int DeclaredStringLength(std::string_view address, bool longDb);

// Text quoted for a terminal: printable ASCII as is, everything else as a C escape.
std::string QuoteText(std::string_view text);

}  // namespace zelhost

// The value types a zelhost user names (bit, byte, word, ...): the host type code each one
// hands to the parser and the layout of its elements in the host's value array.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zelhost {

enum class ValueType { Bit, Byte, Word, Int16, Int32, Uint32, Float, String };

// How the module lays one element out in the host's value array.
enum class ElementLayout { Bits16, Bits32, Float32, Chars };

std::string_view TypeName(ValueType type);
std::optional<ValueType> TypeFromName(std::string_view name);  // case-insensitive
std::string TypeNameList();                                    // "bit, byte, ..."

// The host type code the parser ties to the address (float 3, int32 4, uint32 5, bit 6,
// string 7; the others are ordinary values).
int32_t HostTypeCode(ValueType type);

ElementLayout LayoutOf(ValueType type);
size_t ElementSize(ElementLayout layout);  // bytes; 1 for characters

// The layout the module uses for a tag with this access code.
ElementLayout LayoutOfAccessCode(int32_t accessCode);

// The type an address names by itself: its type letter, and bit when it carries a bit
// number. longDb tells which data-block layout the instance uses. Nothing for an address
// too malformed to say; the parser has the last word either way.
std::optional<ValueType> TypeOfAddress(std::string_view address, bool longDb);

}  // namespace zelhost

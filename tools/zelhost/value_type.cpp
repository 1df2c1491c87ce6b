#include "value_type.h"

#include <array>
#include <cctype>

#include "zelmpi/tag_address.h"

namespace zelhost {

namespace {

struct TypeEntry {
    ValueType type;
    std::string_view name;
    int32_t hostType;
    ElementLayout layout;
};

// Code 1 stands for the host's ordinary integer types: nothing ties it to the address.
constexpr int32_t kOrdinaryHostType = 1;

constexpr std::array<TypeEntry, 8> kTypes{{
    {ValueType::Bit, "bit", zelmpi::HOST_TYPE_BIT, ElementLayout::Bits16},
    {ValueType::Byte, "byte", kOrdinaryHostType, ElementLayout::Bits16},
    {ValueType::Word, "word", kOrdinaryHostType, ElementLayout::Bits16},
    {ValueType::Int16, "int16", kOrdinaryHostType, ElementLayout::Bits16},
    {ValueType::Int32, "int32", zelmpi::HOST_TYPE_SIGNED32, ElementLayout::Bits32},
    {ValueType::Uint32, "uint32", zelmpi::HOST_TYPE_UNSIGNED32, ElementLayout::Bits32},
    {ValueType::Float, "float", zelmpi::HOST_TYPE_FLOAT, ElementLayout::Float32},
    {ValueType::String, "string", zelmpi::HOST_TYPE_STRING, ElementLayout::Chars},
}};

const TypeEntry& EntryOf(ValueType type) {
    return kTypes[static_cast<size_t>(type)];
}

char Upper(char c) {
    return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

bool IsBlankOrEnd(std::string_view text, size_t position) {
    return position >= text.size() || text[position] == ' ';
}

}  // namespace

std::string_view TypeName(ValueType type) {
    return EntryOf(type).name;
}

std::optional<ValueType> TypeFromName(std::string_view name) {
    for (const TypeEntry& entry : kTypes) {
        if (entry.name.size() != name.size()) continue;
        bool same = true;
        for (size_t i = 0; i < name.size() && same; ++i)
            same = Upper(entry.name[i]) == Upper(name[i]);
        if (same) return entry.type;
    }
    return std::nullopt;
}

std::string TypeNameList() {
    std::string list;
    for (const TypeEntry& entry : kTypes) {
        if (!list.empty()) list += ", ";
        list += entry.name;
    }
    return list;
}

int32_t HostTypeCode(ValueType type) {
    return EntryOf(type).hostType;
}

ElementLayout LayoutOf(ValueType type) {
    return EntryOf(type).layout;
}

size_t ElementSize(ElementLayout layout) {
    switch (layout) {
        case ElementLayout::Bits16:
            return 2;
        case ElementLayout::Bits32:
        case ElementLayout::Float32:
            return 4;
        case ElementLayout::Chars:
            return 1;
    }
    return 1;
}

ElementLayout LayoutOfAccessCode(int32_t accessCode) {
    switch (accessCode) {
        case zelmpi::ACCESS_FLOAT:
        case zelmpi::ACCESS_FLOAT_HIGH:
            return ElementLayout::Float32;
        case zelmpi::ACCESS_DWORD:
        case zelmpi::ACCESS_DWORD_HIGH:
            return ElementLayout::Bits32;
        case zelmpi::ACCESS_STRING:
            return ElementLayout::Chars;
        default:
            return ElementLayout::Bits16;
    }
}

std::optional<ValueType> TypeOfAddress(std::string_view address, bool longDb) {
    if (address.size() < 4) return std::nullopt;
    const char area = Upper(address[2]);
    const char letter = Upper(address[3]);
    if (area == 'S' || (letter == 'S' && (area == 'D' || area == 'X'))) return ValueType::String;
    if (area == 'I' || area == 'Q' || area == 'M') {
        // Byte address in 4..7; a bit number fills 8 and 9.
        return IsBlankOrEnd(address, 8) ? ValueType::Byte : ValueType::Bit;
    }
    if (area != 'D' && area != 'X') return std::nullopt;
    const size_t bitPosition = longDb ? 12 : 11;
    const bool hasBit = !IsBlankOrEnd(address, bitPosition);
    switch (letter) {
        case 'B':
            return hasBit ? ValueType::Bit : ValueType::Byte;
        case 'W':
            return hasBit ? ValueType::Bit : ValueType::Word;
        case 'D':
            return ValueType::Int32;
        case 'F':
            return ValueType::Float;
        default:
            return std::nullopt;
    }
}

}  // namespace zelhost

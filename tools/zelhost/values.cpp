#include "values.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

#include "json_writer.h"

namespace zelhost {

namespace {

struct Range {
    int64_t low;
    int64_t high;
};

Range RangeOf(ValueType type) {
    switch (type) {
        case ValueType::Bit:
            return {0, 1};
        case ValueType::Byte:
            return {0, 255};
        case ValueType::Word:
            return {0, 65535};
        case ValueType::Int16:
            return {-32768, 32767};
        case ValueType::Int32:
            return {std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()};
        default:
            return {0, std::numeric_limits<uint32_t>::max()};
    }
}

std::string Quoted(std::string_view text) {
    return "'" + std::string(text) + "'";
}

// Decimal with an optional sign, or hexadecimal with 0x; the whole text must be the number.
bool ParseInteger(std::string_view text, int64_t& number, bool& tooLarge) {
    tooLarge = false;
    bool negative = false;
    std::string_view digits = text;
    if (!digits.empty() && (digits.front() == '-' || digits.front() == '+')) {
        negative = digits.front() == '-';
        digits.remove_prefix(1);
    }
    int base = 10;
    if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
        base = 16;
        digits.remove_prefix(2);
    }
    if (digits.empty()) return false;
    uint64_t magnitude = 0;
    const auto [end, error] =
        std::from_chars(digits.data(), digits.data() + digits.size(), magnitude, base);
    if (end != digits.data() + digits.size()) return false;
    if (error == std::errc::result_out_of_range || magnitude > (uint64_t{1} << 40)) {
        tooLarge = true;
        return true;
    }
    if (error != std::errc()) return false;
    number = negative ? -static_cast<int64_t>(magnitude) : static_cast<int64_t>(magnitude);
    return true;
}

bool ParseFloat(std::string_view text, float& number, std::string& error) {
    const auto [end, result] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (text.empty() || end != text.data() + text.size() ||
        (result != std::errc() && result != std::errc::result_out_of_range)) {
        error = Quoted(text) + " is not a number";
        return false;
    }
    if (result == std::errc::result_out_of_range || !std::isfinite(number)) {
        error = Quoted(text) + " is out of range for float";
        return false;
    }
    return true;
}

std::string FormatFloat(float number) {
    char text[32];
    const auto [end, result] = std::to_chars(text, text + sizeof text, number);
    if (result != std::errc()) return "?";
    return std::string(text, end);
}

std::string FormatNumber(ValueType type, const ValueArray& array, size_t index) {
    switch (type) {
        case ValueType::Bit:
        case ValueType::Byte:
        case ValueType::Word:
            return std::to_string(array.Load16(index));
        case ValueType::Int16:
            return std::to_string(static_cast<int16_t>(array.Load16(index)));
        case ValueType::Int32:
            return std::to_string(static_cast<int32_t>(array.Load32(index)));
        case ValueType::Uint32:
            return std::to_string(array.Load32(index));
        case ValueType::Float:
            return FormatFloat(array.LoadFloat(index));
        case ValueType::String:
            break;
    }
    return {};
}

}  // namespace

bool ParseValue(ValueType type, std::string_view text, HostValue& value, std::string& error) {
    value = HostValue{};
    if (type == ValueType::String) {
        value.text = std::string(text);
        return true;
    }
    if (type == ValueType::Float) {
        float number = 0;
        if (!ParseFloat(text, number, error)) return false;
        value.bits = std::bit_cast<uint32_t>(number);
        return true;
    }
    int64_t number = 0;
    bool tooLarge = false;
    if (!ParseInteger(text, number, tooLarge)) {
        error = Quoted(text) + " is not a whole number";
        return false;
    }
    const Range range = RangeOf(type);
    if (tooLarge || number < range.low || number > range.high) {
        error = Quoted(text) + " is out of range for " + std::string(TypeName(type)) + " (" +
                std::to_string(range.low) + " to " + std::to_string(range.high) + ")";
        return false;
    }
    value.bits = static_cast<uint32_t>(number);  // two's complement bit pattern
    return true;
}

void StoreValue(ValueType type, const HostValue& value, ValueArray& array, size_t index) {
    switch (LayoutOf(type)) {
        case ElementLayout::Bits16:
            array.Store16(index, static_cast<uint16_t>(value.bits));
            break;
        case ElementLayout::Bits32:
        case ElementLayout::Float32:
            array.Store32(index, value.bits);
            break;
        case ElementLayout::Chars:
            array.StoreChars(value.text);
            break;
    }
}

std::string FormatValue(ValueType type, const ValueArray& array, size_t index, size_t maxChars) {
    if (type == ValueType::String) return QuoteText(array.LoadChars(maxChars));
    return FormatNumber(type, array, index);
}

std::string FormatValueJson(ValueType type, const ValueArray& array, size_t index,
                            size_t maxChars) {
    if (type == ValueType::String) return JsonString(array.LoadChars(maxChars));
    if (type == ValueType::Float && !std::isfinite(array.LoadFloat(index))) return "null";
    return FormatNumber(type, array, index);
}

int DeclaredStringLength(std::string_view address, bool longDb) {
    const size_t first = longDb ? 12 : 11;
    int length = 0;
    for (size_t i = first; i < first + 2 && i < address.size(); ++i) {
        const char c = address[i];
        if (c >= '0' && c <= '9') {
            length = length * 10 + (c - '0');
        } else if (c != ' ') {
            break;
        }
    }
    return length;
}

std::string QuoteText(std::string_view text) {
    std::string quoted = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += c;
        } else if (byte >= 0x20 && byte < 0x7F) {
            quoted += c;
        } else {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02X", byte);
            quoted += escape;
        }
    }
    return quoted + "\"";
}

}  // namespace zelhost

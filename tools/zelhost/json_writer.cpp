#include "json_writer.h"

#include <cstdio>

namespace zelhost {

namespace {

// Length of the valid UTF-8 sequence at text[i], or 0 when none starts there.
size_t Utf8SequenceLength(std::string_view text, size_t i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    size_t length = 0;
    uint32_t codePoint = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        codePoint = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        codePoint = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        codePoint = lead & 0x07u;
    } else {
        return 0;
    }
    if (i + length > text.size()) return 0;
    for (size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[i + k]);
        if ((next & 0xC0u) != 0x80u) return 0;
        codePoint = (codePoint << 6) | (next & 0x3Fu);
    }
    const uint32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (codePoint < smallest[length] || codePoint > 0x10FFFF ||
        (codePoint >= 0xD800 && codePoint <= 0xDFFF)) {
        return 0;
    }
    return length;
}

void AppendEscape(std::string& out, unsigned int code) {
    char escape[8];
    std::snprintf(escape, sizeof escape, "\\u%04x", code);
    out += escape;
}

}  // namespace

std::string JsonString(std::string_view text) {
    std::string out = "\"";
    for (size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte >= 0x80) {
            const size_t length = Utf8SequenceLength(text, i);
            if (length > 0) {
                out.append(text.substr(i, length));
                i += length;
            } else {
                AppendEscape(out, byte);
                ++i;
            }
            continue;
        }
        switch (byte) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (byte < 0x20 || byte == 0x7F) {
                    AppendEscape(out, byte);
                } else {
                    out += static_cast<char>(byte);
                }
        }
        ++i;
    }
    return out + "\"";
}

void JsonWriter::BeforeValue() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (!needsComma_.empty()) {
        if (needsComma_.back()) text_ += ',';
        needsComma_.back() = true;
    }
}

JsonWriter& JsonWriter::BeginObject() {
    BeforeValue();
    text_ += '{';
    needsComma_.push_back(false);
    return *this;
}

JsonWriter& JsonWriter::EndObject() {
    needsComma_.pop_back();
    text_ += '}';
    return *this;
}

JsonWriter& JsonWriter::BeginArray() {
    BeforeValue();
    text_ += '[';
    needsComma_.push_back(false);
    return *this;
}

JsonWriter& JsonWriter::EndArray() {
    needsComma_.pop_back();
    text_ += ']';
    return *this;
}

JsonWriter& JsonWriter::Key(std::string_view key) {
    BeforeValue();
    text_ += JsonString(key);
    text_ += ':';
    afterKey_ = true;
    return *this;
}

JsonWriter& JsonWriter::String(std::string_view text) {
    return Raw(JsonString(text));
}

JsonWriter& JsonWriter::Number(int64_t number) {
    return Raw(std::to_string(number));
}

JsonWriter& JsonWriter::Bool(bool value) {
    return Raw(value ? "true" : "false");
}

JsonWriter& JsonWriter::Null() {
    return Raw("null");
}

JsonWriter& JsonWriter::Raw(std::string_view json) {
    BeforeValue();
    text_ += json;
    return *this;
}

}  // namespace zelhost

#include "tag_list.h"

#include <charconv>
#include <map>

namespace zelhost {

namespace {

struct Field {
    std::string text;
    bool quoted = false;
};

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

// Splits a line into fields; a '#' outside quotes ends the line. False on an unclosed quote.
bool SplitFields(std::string_view line, std::vector<Field>& fields) {
    size_t i = 0;
    while (i < line.size()) {
        if (IsSpace(line[i])) {
            ++i;
            continue;
        }
        if (line[i] == '#') break;
        Field field;
        if (line[i] == '"') {
            const size_t close = line.find('"', i + 1);
            if (close == std::string_view::npos) return false;
            field.text = std::string(line.substr(i + 1, close - i - 1));
            field.quoted = true;
            i = close + 1;
        } else {
            const size_t start = i;
            while (i < line.size() && !IsSpace(line[i]) && line[i] != '#' && line[i] != '"') ++i;
            field.text = std::string(line.substr(start, i - start));
        }
        fields.push_back(std::move(field));
    }
    return true;
}

std::string Quoted(std::string_view text) {
    return "'" + std::string(text) + "'";
}

// Checks one line's fields and fills the tag; an empty result means the line is good.
std::string ReadTag(const std::vector<Field>& fields, TagSpec& tag) {
    static const char* const kMissing[] = {"name", "address", "type"};
    if (fields.size() < 3) {
        return std::string("missing ") + kMissing[fields.size()] +
               " (a tag line is: name address type [count])";
    }
    if (fields.size() > 4) return "unexpected field " + Quoted(fields[4].text) + " after the count";
    if (fields[0].quoted || fields[0].text.empty()) return "a tag name is one word without quotes";
    tag.name = fields[0].text;
    tag.address = fields[1].text;
    if (tag.address.empty()) return "empty address";
    const auto type = TypeFromName(fields[2].text);
    if (!type) return "unknown type " + Quoted(fields[2].text) + " (types: " + TypeNameList() + ")";
    tag.type = *type;
    tag.count = 1;
    if (fields.size() == 4) {
        if (!ParseCount(fields[3].text, tag.count)) {
            return "bad count " + Quoted(fields[3].text) + ": a whole number from 1 to " +
                   std::to_string(kMaxElementCount);
        }
        if (tag.count != 1 && (tag.type == ValueType::Bit || tag.type == ValueType::String)) {
            return "a " + std::string(TypeName(tag.type)) + " tag has count 1";
        }
    }
    return {};
}

}  // namespace

bool ParseCount(std::string_view text, int& count) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || text.front() == '+' || error != std::errc() ||
        end != text.data() + text.size() || value < 1 || value > kMaxElementCount) {
        return false;
    }
    count = value;
    return true;
}

TagList ParseTagList(std::string_view text) {
    TagList list;
    std::map<std::string, int, std::less<>> firstLineOfName;
    int lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        const size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);

        std::vector<Field> fields;
        if (!SplitFields(line, fields)) {
            list.errors.push_back({lineNumber, "unclosed double quote"});
            continue;
        }
        if (fields.empty()) continue;
        TagSpec tag;
        tag.line = lineNumber;
        std::string problem = ReadTag(fields, tag);
        if (problem.empty()) {
            const auto [place, inserted] = firstLineOfName.emplace(tag.name, lineNumber);
            if (!inserted) {
                problem = "duplicate tag name " + Quoted(tag.name) + " (first on line " +
                          std::to_string(place->second) + ")";
            }
        }
        if (problem.empty()) {
            list.tags.push_back(std::move(tag));
        } else {
            list.errors.push_back({lineNumber, std::move(problem)});
        }
    }
    return list;
}

}  // namespace zelhost

// The tag list: one tag a line, "name address type [count]", '#' starts a comment, blank
// lines are ignored, and an address with blanks in it is written in double quotes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "value_type.h"

namespace zelhost {

// zelhost's own bound on a count; the module's block limits are checked through the module.
inline constexpr int kMaxElementCount = 65535;

struct TagSpec {
    std::string name;
    std::string address;
    ValueType type = ValueType::Word;
    int count = 1;
    int line = 0;
};

struct TagListError {
    int line = 0;
    std::string message;
};

struct TagList {
    std::vector<TagSpec> tags;
    std::vector<TagListError> errors;  // in line order; the list is unusable when any
};

TagList ParseTagList(std::string_view text);

// A count as the user typed it: a whole number from 1 to kMaxElementCount. Used by the tag
// list and --count alike.
bool ParseCount(std::string_view text, int& count);

}  // namespace zelhost

// A small JSON writer for --format json: objects, arrays and values in order, commas placed
// by the writer.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zelhost {

// A JSON string literal. Valid UTF-8 passes through; any other byte is taken as Latin-1.
std::string JsonString(std::string_view text);

class JsonWriter {
  public:
    JsonWriter& BeginObject();
    JsonWriter& EndObject();
    JsonWriter& BeginArray();
    JsonWriter& EndArray();
    JsonWriter& Key(std::string_view key);
    JsonWriter& String(std::string_view text);
    JsonWriter& Number(int64_t number);
    JsonWriter& Bool(bool value);
    JsonWriter& Null();
    JsonWriter& Raw(std::string_view json);  // an already formatted value

    const std::string& Text() const { return text_; }

  private:
    void BeforeValue();

    std::string text_;
    std::vector<bool> needsComma_;  // one per open object or array
    bool afterKey_ = false;
};

}  // namespace zelhost

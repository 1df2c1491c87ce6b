// Text from the module's OEM code page 437 (the banner's frame and shading) as UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace zelhost {

// Each byte as its Unicode character; bytes below 0x80 are ASCII and stay as they are.
std::string Cp437ToUtf8(std::string_view text);

// The Unicode code point of one code page 437 byte.
char32_t Cp437CodePoint(unsigned char byte);

}  // namespace zelhost

// A decoded tag address in words: "PLC 1, DB 10, word at byte 20, bit 3".
#pragma once

#include <string>

#include "zelmpi/tag_address.h"

namespace zelhost {

std::string AddressMeaning(const zelmpi::TagAddress& address);

}  // namespace zelhost

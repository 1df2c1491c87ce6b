#include "address_meaning.h"

namespace zelhost {

namespace {

std::string DataBlockPart(const zelmpi::TagAddress& address, const char* what, uint32_t byte) {
    const uint32_t db = static_cast<uint32_t>(address.packedAddress) >> 16;
    return "DB " + std::to_string(db) + ", " + what + " at byte " + std::to_string(byte);
}

}  // namespace

std::string AddressMeaning(const zelmpi::TagAddress& address) {
    const uint32_t offset = static_cast<uint32_t>(address.packedAddress) & 0xFFFFu;
    std::string meaning = "PLC " + std::to_string(address.plc) + ", ";
    switch (address.accessCode) {
        case zelmpi::ACCESS_WORD_EVEN:
            meaning += DataBlockPart(address, "word", offset * 2);
            break;
        case zelmpi::ACCESS_WORD_ODD:
            meaning += DataBlockPart(address, "word", offset * 2 + 1);
            break;
        case zelmpi::ACCESS_BYTE:
            meaning += DataBlockPart(address, "byte", offset);
            break;
        case zelmpi::ACCESS_FLOAT:
            meaning += DataBlockPart(address, "float", offset * 4);
            break;
        case zelmpi::ACCESS_FLOAT_HIGH:
            meaning += DataBlockPart(address, "float", offset * 4 + 2);
            break;
        case zelmpi::ACCESS_DWORD:
            meaning += DataBlockPart(address, "double word", offset * 4);
            break;
        case zelmpi::ACCESS_DWORD_HIGH:
            meaning += DataBlockPart(address, "double word", offset * 4 + 2);
            break;
        case zelmpi::ACCESS_STRING:
            meaning += DataBlockPart(address, "string", offset);
            break;
        case zelmpi::ACCESS_INPUT:
            meaning += "input byte " + std::to_string(address.packedAddress);
            break;
        case zelmpi::ACCESS_OUTPUT:
            meaning += "output byte " + std::to_string(address.packedAddress);
            break;
        case zelmpi::ACCESS_MARKER:
            meaning += "marker byte " + std::to_string(address.packedAddress);
            break;
        default:
            meaning += "access code " + std::to_string(address.accessCode);
            break;
    }
    if (address.bitNumber != zelmpi::kNoBit)
        meaning += ", bit " + std::to_string(address.bitNumber);
    return meaning;
}

}  // namespace zelhost

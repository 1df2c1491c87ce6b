#include "addressing/address_template.h"

namespace zelmpi {

bool MatchTemplate(const AddressTemplate& pattern, const NormalisedAddress& address) {
    for (std::size_t position = 0; position < kTemplatePositions; ++position) {
        if (!pattern.Admits(position, address[position])) return false;
    }
    return true;
}

}  // namespace zelmpi

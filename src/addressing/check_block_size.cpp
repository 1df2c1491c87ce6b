#include "addressing/parse_address.h"
#include "entry/context_access.h"
#include "entry/handlers.h"
#include "zelmpi/results.h"

namespace zelmpi {

namespace {

// Elements per block: 500 bytes of PLC data for words and four-byte values, 250 for bytes.
constexpr int32_t kMostFourByteElements = 125;
constexpr int32_t kMostSixteenBitElements = 250;

}  // namespace

// Answers 0 when the address parses and the count is within the limit of its kind. The counts
// compare signed: 0 and below pass. A string tag has no block size: always 1.
int CheckBlockSize(DriverRequest* request) {
    auto& definition = *static_cast<TagDefinition*>(request->params);
    if (ParseTagDefinition(ContextOf(request), definition, ParseMode::kParseOnly) != DRV_OK) {
        return DRV_FAILED;
    }
    const int32_t count = definition.elementCount;
    switch (definition.tag.accessCode) {
        case ACCESS_FLOAT:
        case ACCESS_FLOAT_HIGH:
        case ACCESS_DWORD:
        case ACCESS_DWORD_HIGH:
            return count > kMostFourByteElements ? DRV_FAILED : DRV_OK;
        case ACCESS_STRING:
            return DRV_FAILED;
        default:
            return count > kMostSixteenBitElements ? DRV_FAILED : DRV_OK;
    }
}

}  // namespace zelmpi

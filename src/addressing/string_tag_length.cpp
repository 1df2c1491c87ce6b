#include "addressing/string_tag_length.h"

#include "entry/context_access.h"

namespace zelmpi {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

// Reads the two positions as typed (not normalised); a blank on either side of the digits is
// ignored. Stops at the string's end, so a short string is never read past its NUL; a missing
// string declares nothing.
int DeclaredStringLength(const char* addressText, bool longDb) {
    if (addressText == nullptr) return 0;
    const int first = longDb ? 12 : 11;
    for (int i = 0; i < first; ++i) {
        if (addressText[i] == '\0') return 0;
    }
    int value = 0;
    int position = first;
    if (addressText[position] == ' ') ++position;
    for (; position < first + 2 && IsDigit(addressText[position]); ++position) {
        value = value * 10 + (addressText[position] - '0');
    }
    return value;
}

int StringTagLength(const DriverRequest* request) {
    const char* const addressText = *static_cast<const char* const*>(request->params);
    return DeclaredStringLength(addressText, ContextOf(request).longDb != 0);
}

}  // namespace zelmpi

#include "lifecycle/slot_scan.h"

#include <climits>

namespace zelmpi {
namespace {

bool IsScanSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// One "%d": true and the value when a number was read; text moves past what was consumed.
bool ScanInt(const char*& text, int& value) {
    const char* cursor = text;
    while (IsScanSpace(*cursor)) ++cursor;
    const bool negative = *cursor == '-';
    if (*cursor == '-' || *cursor == '+') ++cursor;
    if (!IsDigit(*cursor)) return false;
    long long magnitude = 0;
    constexpr long long kLimit = static_cast<long long>(INT_MAX) + 1;
    for (; IsDigit(*cursor); ++cursor) {
        if (magnitude <= kLimit) magnitude = magnitude * 10 + (*cursor - '0');
    }
    if (negative) {
        value = magnitude >= kLimit ? INT_MIN : static_cast<int>(-magnitude);
    } else {
        value = magnitude > INT_MAX ? INT_MAX : static_cast<int>(magnitude);
    }
    text = cursor;
    return true;
}

}  // namespace

void ScanSlotAssignment(const char* text, int& plc, int& slot) {
    if (!ScanInt(text, plc)) return;
    if (*text != '=') return;
    ++text;
    ScanInt(text, slot);
}

}  // namespace zelmpi

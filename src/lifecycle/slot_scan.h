// The scan of a slot assignment line, "<PLC number>=<slot>".
#pragma once

namespace zelmpi {

// Scans text as the C library's "%d=%d" does: each number may follow white space and carry a
// sign; the scan stops at the first mismatch and leaves the numbers not read unchanged. Numbers
// beyond the int range saturate, so they never alias a valid PLC number.
void ScanSlotAssignment(const char* text, int& plc, int& slot);

}  // namespace zelmpi

// One ordered record of every platform call the driver makes, across host runtime, PLC library
// and kernel, so that a test can check exact sequences.
#pragma once

#include <string>
#include <vector>

namespace fakes {

void Record(std::string call);
std::vector<std::string> Calls();
void ClearCalls();

// Calls whose text starts with prefix, in order.
std::vector<std::string> CallsStartingWith(const std::string& prefix);

// The texts of all lines logged with err, in order; a line logged with a level other than 32
// appears as "level N: text".
std::vector<std::string> LogLines();

// Clears the call record and every scripted result of every fake.
void ResetAllFakes();

}  // namespace fakes

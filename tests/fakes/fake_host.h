// Fake host runtime: err records each formatted line; the message client's waits answer
// scripted results and block when the script is used up, until the test releases them.
#pragma once

#include <vector>

namespace fakes {

void ResetHost();
// Results that HuxWaitMsg answers in turn; when none is left it blocks until more are given.
void ScriptWaitResults(std::vector<int> results);
// Waits (bounded) until some thread is blocked in HuxWaitMsg; false on time-out.
bool WaitUntilClientWaits();
// The id HuxMkClient hands out.
void SetClientId(int id);

}  // namespace fakes

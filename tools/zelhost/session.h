// What every command works with, and the start and end of the driver instance that check,
// read, write and poll share.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "command_line.h"
#include "host.h"
#include "log_router.h"
#include "tag_list.h"

namespace zelhost {

enum ExitStatus : int {
    kExitOk = 0,
    kExitRefused = 1,  // a tag refused, or an access that did not answer OK
    kExitUsage = 2,    // the command line or an input file
    kExitModule = 3,   // the module cannot be loaded or has no ZelMain
};

// How long zelhost waits for the worker thread after announcing shutdown.
inline constexpr int kShutdownWaitMs = 5000;

struct Session {
    const Options& options;
    Host& host;
    LogRouter& log;
    std::FILE* out;
    bool workerStillRunning = false;  // set when shutdown did not end the worker thread
};

bool Json(const Session& session);

// Prints "zelhost: message" on standard error.
void ReportError(const std::string& message);

// OP_INIT with the instance settings of the command line; a result other than OK is noted.
void StartInstance(Session& session);
// Announces shutdown and waits for the worker thread's last log lines.
void EndInstance(Session& session, const std::function<void()>& onTick = {});

// Lines quoted in zelhost's report are not repeated on standard error, but a log file gets
// every line.
void KeepQuotedLines(Session& session, const std::vector<std::string>& lines);

int RunDescribe(Session& session);
int RunCheck(Session& session, const std::string& fileName, const TagList& tags);
int RunRead(Session& session);
int RunWrite(Session& session);
int RunPoll(Session& session, const std::string& fileName, const TagList& tags);

}  // namespace zelhost

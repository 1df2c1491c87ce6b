// zelhost: the host simulator. Loads the driver module at run time and drives it through
// ZelMain as the SCADA host does, against simulated PLCs.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "command_line.h"
#include "host.h"
#include "log_router.h"
#include "module_loader.h"
#include "resources.h"
#include "session.h"
#include "simulation.h"
#include "tag_list.h"

#ifndef ZELHOST_VERSION
#define ZELHOST_VERSION "0"
#endif

namespace {

using namespace zelhost;

// Reads and parses the tag list; reports "FILE:LINE: message" for each fault in it.
bool LoadTagList(const std::string& fileName, TagList& list) {
    std::ifstream file(fileName, std::ios::binary);
    if (!file) {
        ReportError("cannot read the tag list " + fileName);
        return false;
    }
    std::ostringstream text;
    text << file.rdbuf();
    list = ParseTagList(text.str());
    for (const TagListError& error : list.errors) {
        std::fprintf(stderr, "%s:%d: %s\n", fileName.c_str(), error.line, error.message.c_str());
    }
    return list.errors.empty();
}

int Run(const std::vector<std::string>& arguments, bool& workerStillRunning) {
    if (arguments.empty()) {
        std::fputs(UsageText(), stderr);
        return kExitUsage;
    }
    const ParsedCommandLine parsed = ParseCommandLine(arguments);
    if (!parsed.error.empty()) {
        ReportError(parsed.error);
        std::fprintf(stderr, "Try 'zelhost --help'.\n");
        return kExitUsage;
    }
    const Options& options = parsed.options;
    if (options.command == Command::Help) {
        std::fputs(UsageText(), stdout);
        return kExitOk;
    }
    if (options.command == Command::Version) {
        std::printf("zelhost %s\n", ZELHOST_VERSION);
        return kExitOk;
    }

    TagList tags;
    const bool usesTagList = options.command == Command::Check || options.command == Command::Poll;
    if (usesTagList && !LoadTagList(options.arguments[0], tags)) return kExitUsage;

    const std::filesystem::path modulePath =
        options.modulePath ? std::filesystem::path(*options.modulePath) : DefaultModulePath();
    std::string error;
    bool missingEntry = false;
    const ZelMainFunction zelMain = LoadModuleEntry(modulePath, error, missingEntry);
    if (zelMain == nullptr) {
        ReportError(missingEntry
                        ? modulePath.string() + " is not a driver module: it has no ZelMain"
                        : "cannot load the driver module: " + error);
        return kExitModule;
    }

    LogRouter log;
    if (options.logPath && !log.UseFile(*options.logPath, error)) {
        ReportError(error);
        return kExitUsage;
    }
    log.SetTimestamps(options.timestamps);
    log.SetTrace(options.trace);

    // Only reads and writes reach a PLC; a file named for the others is still checked.
    const bool reachesPlcs = options.command == Command::Read ||
                             options.command == Command::Write || options.command == Command::Poll;
    if (reachesPlcs || options.simPath) {
        const SimulationChoice simulation = LoadSimulation(options.simPath);
        if (!simulation.ok) {
            ReportError(simulation.error);
            return kExitUsage;
        }
        if (!simulation.note.empty()) ReportError(simulation.note);
    }

    Host host(zelMain, log);
    const ModuleDescription description = host.Describe();
    if (!host.AllocateContext(description.contextSize, error)) {
        ReportError(error);
        return kExitModule;
    }

    Session session{options, host, log, stdout};
    int status = kExitOk;
    switch (options.command) {
        case Command::Describe:
            status = RunDescribe(session);
            break;
        case Command::Check:
            status = RunCheck(session, options.arguments[0], tags);
            break;
        case Command::Read:
            status = RunRead(session);
            break;
        case Command::Write:
            status = RunWrite(session);
            break;
        case Command::Poll:
            status = RunPoll(session, options.arguments[0], tags);
            break;
        default:
            break;
    }
    workerStillRunning = session.workerStillRunning;
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> arguments(argv + 1, argv + argc);
    bool workerStillRunning = false;
    const int status = Run(arguments, workerStillRunning);
    std::fflush(stdout);
    std::fflush(stderr);
    // A worker thread still inside the module must not see the process tear down its
    // libraries' state under it.
    if (workerStillRunning) std::_Exit(status);
    return status;
}

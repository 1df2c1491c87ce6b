#include "session.h"

namespace zelhost {

bool Json(const Session& session) {
    return session.options.format == OutputFormat::Json;
}

void ReportError(const std::string& message) {
    std::fflush(stdout);
    std::fprintf(stderr, "zelhost: %s\n", message.c_str());
}

void StartInstance(Session& session) {
    InstanceSettings settings;
    settings.instance = session.options.instance;
    settings.startValue = session.options.startValue;
    settings.readTimeout = session.options.readTimeout;
    const int result = session.host.Start(settings);
    session.host.PassOnLog();
    if (result != zelmpi::DRV_OK) {
        ReportError(std::string("OP_INIT answered ") + ResultName(result) +
                    "; going on as the host does");
    }
}

void EndInstance(Session& session, const std::function<void()>& onTick) {
    if (!session.host.Shutdown(kShutdownWaitMs, onTick)) {
        session.workerStillRunning = true;
        ReportError("the module's worker thread did not end within " +
                    std::to_string(kShutdownWaitMs / 1000) + " s of the shutdown announcement");
    }
}

void KeepQuotedLines(Session& session, const std::vector<std::string>& lines) {
    if (!session.log.WritesToFile()) return;
    for (const std::string& line : lines) session.log.Forward(line);
}

}  // namespace zelhost

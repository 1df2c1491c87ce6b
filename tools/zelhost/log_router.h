// Where the module's log lines go: straight to the destination (standard error, or the --log
// file), or held in a temporary file while zelhost wants them itself, to quote them in its
// report or to show them under the poll table.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace zelhost {

class LogRouter {
  public:
    LogRouter() = default;
    LogRouter(const LogRouter&) = delete;
    LogRouter& operator=(const LogRouter&) = delete;
    ~LogRouter();

    // Appends the log to the file instead of standard error. False (with the reason) when the
    // file cannot be opened.
    bool UseFile(const std::filesystem::path& path, std::string& error);
    bool WritesToFile() const { return destination_ != nullptr; }

    void SetTimestamps(bool on);
    // Writes a line for each call of the PLC library into the log, where it happens.
    void SetTrace(bool on);

    // Points the host runtime's log at a temporary file until Release. False (with the
    // reason) when no temporary file can be made; the lines then go on to the destination.
    bool Hold(std::string& error);
    bool Holding() const { return holding_; }
    // Complete lines held since the last call, without their line ends.
    std::vector<std::string> Drain();
    // Points the log at the destination again. Lines not drained stay held for Drain.
    void Release();

    // Writes one line to the destination, as the module's own lines are written there.
    void Forward(const std::string& line);

  private:
    std::FILE* Destination() const { return destination_ != nullptr ? destination_ : stderr; }
    void CloseHoldFile();
    // Points the host runtime's log (and the PLC trace) at this stream; nullptr: stderr.
    void LogTo(std::FILE* stream);

    std::FILE* destination_ = nullptr;  // nullptr: standard error
    bool holding_ = false;
    bool trace_ = false;
    std::FILE* holdWriter_ = nullptr;  // the host runtime writes here while holding
    std::FILE* holdReader_ = nullptr;  // a handle of our own to read it back
    std::filesystem::path holdPath_;
    std::string pending_;  // the start of a line not yet complete
};

}  // namespace zelhost

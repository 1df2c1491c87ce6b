// A pseudo-terminal pair for the tests: the test holds the master side, the stand-in opens the
// slave by its path, as it would open a serial device.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <string>

namespace standin_test {

class PseudoTerminal {
  public:
    PseudoTerminal() {
        master_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) return;
        char path[128];
        if (ptsname_r(master_, path, sizeof path) == 0) slavePath_ = path;
    }
    ~PseudoTerminal() {
        if (master_ >= 0) close(master_);
    }
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    bool ok() const { return master_ >= 0 && !slavePath_.empty(); }
    const std::string& slavePath() const { return slavePath_; }

    // What the far end sends.
    bool Send(const std::string& bytes) {
        return write(master_, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    }

    // What the far end has received: waits (bounded) until count bytes came.
    std::string Receive(size_t count) {
        std::string bytes;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (bytes.size() < count && std::chrono::steady_clock::now() < deadline) {
            pollfd entry{master_, POLLIN, 0};
            if (poll(&entry, 1, 100) <= 0) continue;
            char chunk[256];
            const ssize_t got = read(master_, chunk, sizeof chunk);
            if (got > 0) bytes.append(chunk, static_cast<size_t>(got));
        }
        return bytes;
    }

    // The line settings of the pair (the master reports the slave's).
    termios Settings() const {
        termios settings{};
        tcgetattr(master_, &settings);
        return settings;
    }

  private:
    int master_ = -1;
    std::string slavePath_;
};

}  // namespace standin_test

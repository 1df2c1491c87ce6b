// The stand-in's table of open COM handles. Handles are small integers (1 to kMaxPorts), never 0
// and never INVALID_HANDLE_VALUE. A call holds a lease on its handle, so that a CloseHandle on
// another thread closes the descriptor only once no call uses it any more.
#pragma once

#include "platform/kernel.h"

namespace zelkernel {

inline constexpr int kMaxPorts = 64;

// What termios cannot hold, kept per handle: the time-outs and the last DCB set.
struct PortSettings {
    COMMTIMEOUTS timeouts;
    DCB dcb;
    bool lineSet;  // dcb holds what SetCommState was given
};

// What a descriptor is.
struct PortKind {
    bool isTty;
    bool isPseudoTerminal;  // keeps 8 data bits and no parity whatever it is told
    bool exclusive;         // locked for share mode 0
};

// Registers an open descriptor; INVALID_HANDLE_VALUE when the table is full.
HANDLE RegisterPort(int fd, PortKind kind, const PortSettings& settings);

// Takes the handle out of the table. False for a handle that is not open.
bool UnregisterPort(HANDLE handle);

class PortLease {
  public:
    explicit PortLease(HANDLE handle);
    ~PortLease();
    PortLease(const PortLease&) = delete;
    PortLease& operator=(const PortLease&) = delete;

    bool valid() const { return slot_ >= 0; }
    int fd() const { return fd_; }
    bool isTty() const { return kind_.isTty; }
    bool isPseudoTerminal() const { return kind_.isPseudoTerminal; }
    // True once CloseHandle has been called on the handle: a waiting call gives up.
    bool closing() const;
    PortSettings settings() const;
    void setSettings(const PortSettings& settings);

  private:
    int slot_ = -1;
    int fd_ = -1;
    PortKind kind_{};
};

}  // namespace zelkernel

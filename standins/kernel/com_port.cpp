// The COM port calls on POSIX terminals. See com_names.h for which device a name opens.
// Differences from a Windows serial port, where POSIX has no equivalent:
// - share mode 0 locks the device (flock, and TIOCEXCL against other openers), except the null
//   device; a second open of a locked device fails;
// - 1.5 stop bits are sent as CSTOPB, which a UART with 5 data bits sends as 1.5 stop bits;
// - DTR handshake raises DTR (termios has no DTR/DSR flow control); RTS handshake is CRTSCTS,
//   which also stops output on CTS; RTS toggle raises RTS around each WriteFile;
// - control lines and breaks on a device without them (a pseudo-terminal) are left alone, and
//   a pseudo-terminal keeps 8 data bits and no parity whatever it is told (the kernel's rule,
//   which the C library checks), so it is given those, and GetCommState reports the data bits
//   and parity it was asked for, as a virtual serial port does;
// - ClearCommError reports no line errors.
// The comm-state calls fail on a handle that is not a terminal, as on a Windows file handle.
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdint>

#include "com_handles.h"
#include "com_names.h"
#include "com_termios.h"
#include "platform/kernel.h"

#define KERNEL_EXPORT __attribute__((visibility("default")))

namespace zelkernel {
namespace {

using Clock = std::chrono::steady_clock;
using Milliseconds = std::chrono::milliseconds;

constexpr DWORD kMaxDword = 0xFFFFFFFFu;
constexpr int kPollSliceMs = 50;  // how soon a waiting call notices CloseHandle
constexpr int kPathSize = 4096;

DCB DefaultDcb() {
    DCB dcb{};
    dcb.DCBlength = sizeof(DCB);
    dcb.fBinary = 1;
    dcb.fDtrControl = DTR_CONTROL_ENABLE;  // opening a terminal raises DTR and RTS
    dcb.fRtsControl = RTS_CONTROL_ENABLE;
    dcb.XonLim = 2048;
    dcb.XoffLim = 512;
    dcb.XonChar = 0x11;
    dcb.XoffChar = 0x13;
    return dcb;
}

int OpenFlags(DWORD access) {
    const bool reads = (access & GENERIC_READ) != 0;
    const bool writes = (access & GENERIC_WRITE) != 0;
    const int mode = reads && writes ? O_RDWR : writes ? O_WRONLY : O_RDONLY;
    return mode | O_NOCTTY | O_NONBLOCK | O_CLOEXEC;
}

// Sets or clears modem lines; a device without them (a pseudo-terminal) is no failure.
bool SetModemLine(int fd, int line, bool on) {
    if (ioctl(fd, on ? TIOCMBIS : TIOCMBIC, &line) == 0) return true;
    return errno == ENOTTY || errno == EINVAL;
}

// A device that cannot send a break (a pseudo-terminal) ignores the request.
BOOL ControlBreak(HANDLE handle, unsigned long request) {
    PortLease port(handle);
    if (!port.valid() || !port.isTty()) return 0;
    if (ioctl(port.fd(), request) == 0) return 1;
    return errno == ENOTTY || errno == EINVAL ? 1 : 0;
}

bool ApplyControlLines(int fd, const DCB& dcb) {
    const bool dtrOn = dcb.fDtrControl != DTR_CONTROL_DISABLE;
    if (!SetModemLine(fd, TIOCM_DTR, dtrOn)) return false;
    if (dcb.fRtsControl == RTS_CONTROL_HANDSHAKE) return true;  // the driver moves RTS
    return SetModemLine(fd, TIOCM_RTS, dcb.fRtsControl == RTS_CONTROL_ENABLE);
}

// Milliseconds until deadline, at most one poll slice; 0 once it has passed.
int SliceUntil(Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<Milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) return 0;
    return static_cast<int>(std::min<long long>(left, kPollSliceMs));
}

// A deadline so far off that no wait reaches it is no deadline.
Clock::time_point After(uint64_t milliseconds) {
    constexpr uint64_t kFarOffMs = uint64_t{1} << 40;  // about 35 years
    if (milliseconds >= kFarOffMs) return Clock::time_point::max();
    return Clock::now() + Milliseconds(static_cast<long long>(milliseconds));
}

// Waits for events on the descriptor; false when the device hung up, failed or is being
// closed. A return with no event means the slice passed.
bool WaitFor(const PortLease& port, short events, int sliceMs, short& returned) {
    pollfd entry{port.fd(), events, 0};
    const int ready = poll(&entry, 1, sliceMs);
    returned = ready > 0 ? entry.revents : 0;
    if (ready < 0 && errno != EINTR) return false;
    if ((returned & (POLLERR | POLLNVAL)) != 0) return false;
    if ((returned & POLLHUP) != 0 && (returned & events) == 0) return false;
    return !port.closing();
}

// ReadFile on a terminal, with the Windows meaning of the handle's COMMTIMEOUTS.
BOOL ReadTerminal(const PortLease& port, unsigned char* buffer, DWORD count, DWORD* read) {
    const COMMTIMEOUTS t = port.settings().timeouts;
    const bool returnAtOnce = t.ReadIntervalTimeout == kMaxDword &&
                              t.ReadTotalTimeoutMultiplier == 0 && t.ReadTotalTimeoutConstant == 0;
    const bool returnOnFirstByte =
        t.ReadIntervalTimeout == kMaxDword && t.ReadTotalTimeoutMultiplier == kMaxDword &&
        t.ReadTotalTimeoutConstant != 0 && t.ReadTotalTimeoutConstant != kMaxDword;
    const bool totalLimit =
        returnOnFirstByte || t.ReadTotalTimeoutMultiplier != 0 || t.ReadTotalTimeoutConstant != 0;
    const uint64_t totalMs = returnOnFirstByte ? t.ReadTotalTimeoutConstant
                                               : uint64_t{t.ReadTotalTimeoutMultiplier} * count +
                                                     t.ReadTotalTimeoutConstant;
    const Clock::time_point deadline = totalLimit ? After(totalMs) : Clock::time_point::max();
    const bool intervalLimit = t.ReadIntervalTimeout != 0 && t.ReadIntervalTimeout != kMaxDword;

    DWORD received = 0;
    Clock::time_point lastByte{};
    for (;;) {
        const ssize_t got = ::read(port.fd(), buffer + received, count - received);
        if (got > 0) {
            received += static_cast<DWORD>(got);
            *read = received;
            lastByte = Clock::now();
            if (received == count || returnOnFirstByte) return 1;
            continue;
        }
        if (got < 0 && errno != EAGAIN && errno != EINTR) return 0;  // e.g. the far end closed
        if (returnAtOnce) return 1;
        Clock::time_point until = deadline;
        if (intervalLimit && received > 0) {
            until = std::min(until, lastByte + Milliseconds(t.ReadIntervalTimeout));
        }
        const int slice = until == Clock::time_point::max() ? kPollSliceMs : SliceUntil(until);
        if (slice == 0) return 1;  // timed out: what has arrived is the result
        short events = 0;
        if (!WaitFor(port, POLLIN, slice, events)) return 0;
    }
}

BOOL WriteAll(const PortLease& port, const unsigned char* buffer, DWORD count, DWORD* written) {
    const COMMTIMEOUTS t = port.settings().timeouts;
    const bool limited = t.WriteTotalTimeoutMultiplier != 0 || t.WriteTotalTimeoutConstant != 0;
    const Clock::time_point deadline =
        limited
            ? After(uint64_t{t.WriteTotalTimeoutMultiplier} * count + t.WriteTotalTimeoutConstant)
            : Clock::time_point::max();
    DWORD sent = 0;
    while (sent < count) {
        const ssize_t done = ::write(port.fd(), buffer + sent, count - sent);
        if (done > 0) {
            sent += static_cast<DWORD>(done);
            *written = sent;
            continue;
        }
        if (done < 0 && errno != EAGAIN && errno != EINTR) return 0;
        const int slice =
            deadline == Clock::time_point::max() ? kPollSliceMs : SliceUntil(deadline);
        if (slice == 0) break;  // timed out: a short count
        short events = 0;
        if (!WaitFor(port, POLLOUT, slice, events)) return 0;
    }
    return 1;
}

// Unix 98 pseudo-terminal slaves have majors 136 to 143.
bool IsPseudoTerminal(int fd) {
    struct stat status {};
    if (fstat(fd, &status) != 0 || !S_ISCHR(status.st_mode)) return false;
    const unsigned int deviceMajor = major(status.st_rdev);
    return deviceMajor >= 136 && deviceMajor <= 143;
}

void CloseOpened(int fd, const PortKind& kind) {
    if (kind.isTty && kind.exclusive) ioctl(fd, TIOCNXCL);
    ::close(fd);
}

// Opens the device, locks it when share mode 0 asks for it, and sets a terminal raw.
HANDLE OpenDevice(const char* path, DeviceKind device, DWORD access, DWORD shareMode) {
    const int fd = ::open(path, OpenFlags(access));
    if (fd < 0) return INVALID_HANDLE_VALUE;
    termios settings{};
    PortKind kind{};
    kind.isTty = device != DeviceKind::Null && tcgetattr(fd, &settings) == 0;
    kind.isPseudoTerminal = kind.isTty && IsPseudoTerminal(fd);
    kind.exclusive = shareMode == 0 && device != DeviceKind::Null;
    if (kind.exclusive && flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return INVALID_HANDLE_VALUE;
    }
    if (kind.isTty) {
        if (kind.exclusive) ioctl(fd, TIOCEXCL);
        MakeRaw(settings);
        if (tcsetattr(fd, TCSANOW, &settings) != 0) {
            CloseOpened(fd, kind);
            return INVALID_HANDLE_VALUE;
        }
    }
    const HANDLE handle = RegisterPort(fd, kind, PortSettings{{}, DefaultDcb(), false});
    if (handle == INVALID_HANDLE_VALUE) CloseOpened(fd, kind);
    return handle;
}

}  // namespace
}  // namespace zelkernel

using zelkernel::PortLease;

extern "C" {

KERNEL_EXPORT HANDLE CreateFileA(const char* fileName, DWORD desiredAccess, DWORD shareMode,
                                 void* securityAttributes, DWORD creationDisposition,
                                 DWORD flagsAndAttributes, HANDLE templateFile) {
    (void)securityAttributes;
    (void)flagsAndAttributes;
    (void)templateFile;
    if (creationDisposition != OPEN_EXISTING) return INVALID_HANDLE_VALUE;  // devices only
    char path[zelkernel::kPathSize];
    const zelkernel::DeviceKind kind = zelkernel::DevicePathFor(fileName, path, sizeof path);
    if (kind == zelkernel::DeviceKind::Missing) return INVALID_HANDLE_VALUE;
    return zelkernel::OpenDevice(path, kind, desiredAccess, shareMode);
}

KERNEL_EXPORT BOOL CloseHandle(HANDLE handle) {
    return zelkernel::UnregisterPort(handle) ? 1 : 0;
}

KERNEL_EXPORT BOOL GetCommState(HANDLE handle, DCB* dcb) {
    PortLease port(handle);
    if (!port.valid() || !port.isTty() || dcb == nullptr) return 0;
    termios settings{};
    if (tcgetattr(port.fd(), &settings) != 0) return 0;
    const zelkernel::PortSettings kept = port.settings();
    zelkernel::DcbFromTermios(settings, kept.dcb, *dcb);
    if (port.isPseudoTerminal() && kept.lineSet) {  // it keeps no data bits nor parity
        dcb->ByteSize = kept.dcb.ByteSize;
        dcb->Parity = kept.dcb.Parity;
    }
    return 1;
}

KERNEL_EXPORT BOOL SetCommState(HANDLE handle, DCB* dcb) {
    PortLease port(handle);
    if (!port.valid() || !port.isTty() || dcb == nullptr) return 0;
    termios settings{};
    if (tcgetattr(port.fd(), &settings) != 0) return 0;
    if (!zelkernel::TermiosFromDcb(*dcb, settings)) return 0;
    if (port.isPseudoTerminal()) zelkernel::WithoutParity(settings);
    if (tcsetattr(port.fd(), TCSANOW, &settings) != 0) return 0;
    if (!zelkernel::ApplyControlLines(port.fd(), *dcb)) return 0;
    zelkernel::PortSettings kept = port.settings();
    kept.dcb = *dcb;
    kept.lineSet = true;
    port.setSettings(kept);
    return 1;
}

KERNEL_EXPORT BOOL GetCommTimeouts(HANDLE handle, COMMTIMEOUTS* timeouts) {
    PortLease port(handle);
    if (!port.valid() || !port.isTty() || timeouts == nullptr) return 0;
    *timeouts = port.settings().timeouts;
    return 1;
}

KERNEL_EXPORT BOOL SetCommTimeouts(HANDLE handle, COMMTIMEOUTS* timeouts) {
    PortLease port(handle);
    if (!port.valid() || !port.isTty() || timeouts == nullptr) return 0;
    zelkernel::PortSettings kept = port.settings();
    kept.timeouts = *timeouts;
    port.setSettings(kept);
    return 1;
}

// The terminal's queues have the kernel's sizes; the request is accepted as advice.
KERNEL_EXPORT BOOL SetupComm(HANDLE handle, DWORD inQueue, DWORD outQueue) {
    (void)inQueue;
    (void)outQueue;
    PortLease port(handle);
    return port.valid() && port.isTty() ? 1 : 0;
}

KERNEL_EXPORT BOOL ClearCommError(HANDLE handle, DWORD* errors, COMSTAT* status) {
    PortLease port(handle);
    if (!port.valid() || !port.isTty()) return 0;
    int input = 0;
    int output = 0;
    if (ioctl(port.fd(), FIONREAD, &input) != 0) return 0;
    if (ioctl(port.fd(), TIOCOUTQ, &output) != 0) output = 0;
    if (errors != nullptr) *errors = 0;
    if (status != nullptr) {
        *status = COMSTAT{0, static_cast<DWORD>(std::max(input, 0)),
                          static_cast<DWORD>(std::max(output, 0))};
    }
    return 1;
}

KERNEL_EXPORT BOOL ReadFile(HANDLE handle, void* buffer, DWORD toRead, DWORD* read,
                            void* overlapped) {
    DWORD ignored = 0;
    DWORD* received = read != nullptr ? read : &ignored;
    *received = 0;
    PortLease port(handle);
    if (!port.valid() || overlapped != nullptr || (buffer == nullptr && toRead != 0)) return 0;
    if (toRead == 0) return 1;
    auto* bytes = static_cast<unsigned char*>(buffer);
    if (port.isTty()) return zelkernel::ReadTerminal(port, bytes, toRead, received);
    for (;;) {
        const ssize_t got = ::read(port.fd(), bytes, toRead);
        if (got >= 0) {
            *received = static_cast<DWORD>(got);
            return 1;
        }
        if (errno != EAGAIN && errno != EINTR) return 0;
        short events = 0;
        if (!zelkernel::WaitFor(port, POLLIN, zelkernel::kPollSliceMs, events)) return 0;
    }
}

KERNEL_EXPORT BOOL WriteFile(HANDLE handle, const void* buffer, DWORD toWrite, DWORD* written,
                             void* overlapped) {
    DWORD ignored = 0;
    DWORD* sent = written != nullptr ? written : &ignored;
    *sent = 0;
    PortLease port(handle);
    if (!port.valid() || overlapped != nullptr || (buffer == nullptr && toWrite != 0)) return 0;
    const auto* bytes = static_cast<const unsigned char*>(buffer);
    const bool toggleRts = port.isTty() && port.settings().dcb.fRtsControl == RTS_CONTROL_TOGGLE;
    if (toggleRts) zelkernel::SetModemLine(port.fd(), TIOCM_RTS, true);
    const BOOL result = zelkernel::WriteAll(port, bytes, toWrite, sent);
    if (toggleRts) {
        tcdrain(port.fd());
        zelkernel::SetModemLine(port.fd(), TIOCM_RTS, false);
    }
    return result;
}

KERNEL_EXPORT BOOL SetCommBreak(HANDLE handle) {
    return zelkernel::ControlBreak(handle, TIOCSBRK);
}

KERNEL_EXPORT BOOL ClearCommBreak(HANDLE handle) {
    return zelkernel::ControlBreak(handle, TIOCCBRK);
}

}  // extern "C"

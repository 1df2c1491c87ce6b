#include "com_handles.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <cstdint>
#include <mutex>

namespace zelkernel {
namespace {

struct Slot {
    bool used = false;
    bool closing = false;
    PortKind kind{};
    int users = 0;
    int fd = -1;
    PortSettings settings{};
};

struct Table {
    std::mutex mutex;
    Slot slots[kMaxPorts];
};

Table& Ports() {
    static Table table;
    return table;
}

int SlotOf(HANDLE handle) {
    const auto value = reinterpret_cast<uintptr_t>(handle);
    if (value < 1 || value > static_cast<uintptr_t>(kMaxPorts)) return -1;
    return static_cast<int>(value - 1);
}

// Called without the table lock, once nothing uses the descriptor.
void CloseDescriptor(int fd, PortKind kind) {
    if (kind.isTty && kind.exclusive) ioctl(fd, TIOCNXCL);  // it outlives this descriptor
    close(fd);
}

}  // namespace

HANDLE RegisterPort(int fd, PortKind kind, const PortSettings& settings) {
    Table& table = Ports();
    std::lock_guard lock(table.mutex);
    for (int i = 0; i < kMaxPorts; ++i) {
        Slot& slot = table.slots[i];
        if (slot.used) continue;
        slot = Slot{true, false, kind, 0, fd, settings};
        return reinterpret_cast<HANDLE>(static_cast<uintptr_t>(i + 1));
    }
    return INVALID_HANDLE_VALUE;
}

bool UnregisterPort(HANDLE handle) {
    const int index = SlotOf(handle);
    if (index < 0) return false;
    Table& table = Ports();
    Slot closed;
    {
        std::lock_guard lock(table.mutex);
        Slot& slot = table.slots[index];
        if (!slot.used || slot.closing) return false;
        slot.closing = true;
        if (slot.users > 0) return true;  // the last lease closes it
        closed = slot;
        slot = Slot{};
    }
    CloseDescriptor(closed.fd, closed.kind);
    return true;
}

PortLease::PortLease(HANDLE handle) {
    const int index = SlotOf(handle);
    if (index < 0) return;
    Table& table = Ports();
    std::lock_guard lock(table.mutex);
    Slot& slot = table.slots[index];
    if (!slot.used || slot.closing) return;
    ++slot.users;
    slot_ = index;
    fd_ = slot.fd;
    kind_ = slot.kind;
}

PortLease::~PortLease() {
    if (slot_ < 0) return;
    Table& table = Ports();
    Slot closed;
    {
        std::lock_guard lock(table.mutex);
        Slot& slot = table.slots[slot_];
        --slot.users;
        if (!slot.closing || slot.users > 0) return;
        closed = slot;
        slot = Slot{};
    }
    CloseDescriptor(closed.fd, closed.kind);
}

bool PortLease::closing() const {
    Table& table = Ports();
    std::lock_guard lock(table.mutex);
    return table.slots[slot_].closing;
}

PortSettings PortLease::settings() const {
    Table& table = Ports();
    std::lock_guard lock(table.mutex);
    return table.slots[slot_].settings;
}

void PortLease::setSettings(const PortSettings& settings) {
    Table& table = Ports();
    std::lock_guard lock(table.mutex);
    table.slots[slot_].settings = settings;
}

}  // namespace zelkernel

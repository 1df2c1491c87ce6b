#include "fakes/fake_plc.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <deque>
#include <map>
#include <mutex>
#include <string>

#include "fakes/call_log.h"
#include "platform/plc_library.h"

namespace fakes {
namespace {

constexpr size_t kCallKinds = static_cast<size_t>(PlcCall::FloatToReal) + 1;
// Every start the driver can name (16-bit offsets, times 4) plus a full transfer buffer.
constexpr int kMemoryBytes = 4 * 65536 + 1024;
constexpr uint8_t kFailedReadFill = 0xEE;

struct PlcState {
    std::mutex mutex;
    std::array<std::deque<int>, kCallKinds> queued;
    std::array<int, kCallKinds> defaults{};
    std::map<int, std::vector<uint8_t>> dataBlocks;
    std::array<std::vector<uint8_t>, 3> areas;
};

PlcState& Plc() {
    static PlcState state;
    return state;
}

int NextResult(PlcCall call) {
    PlcState& plc = Plc();
    std::lock_guard lock(plc.mutex);
    auto& queue = plc.queued[static_cast<size_t>(call)];
    if (queue.empty()) return plc.defaults[static_cast<size_t>(call)];
    const int result = queue.front();
    queue.pop_front();
    return result;
}

// The memory behind a data block or an area, created zero-filled on first use. Callers hold
// the mutex.
std::vector<uint8_t>& DataBlockMemory(int db) {
    std::vector<uint8_t>& memory = Plc().dataBlocks[db];
    if (memory.empty()) memory.assign(kMemoryBytes, 0);
    return memory;
}

std::vector<uint8_t>& AreaMemory(PlcArea area) {
    std::vector<uint8_t>& memory = Plc().areas[static_cast<size_t>(area)];
    if (memory.empty()) memory.assign(kMemoryBytes, 0);
    return memory;
}

bool InMemory(int start, int count) {
    return start >= 0 && count >= 0 && start <= kMemoryBytes - count;
}

void CopyOut(std::vector<uint8_t>& memory, int start, int count, void* buffer) {
    if (InMemory(start, count)) {
        std::memcpy(buffer, memory.data() + start, static_cast<size_t>(count));
    }
}

void CopyIn(std::vector<uint8_t>& memory, int start, int count, const void* buffer) {
    if (InMemory(start, count)) {
        std::memcpy(memory.data() + start, buffer, static_cast<size_t>(count));
    }
}

std::string HexBytes(const void* buffer, int count) {
    std::string text = "[";
    const auto* bytes = static_cast<const uint8_t*>(buffer);
    for (int i = 0; i < count; ++i) {
        char digits[4];
        std::snprintf(digits, sizeof digits, i == 0 ? "%02X" : " %02X", bytes[i]);
        text += digits;
    }
    return text + "]";
}

std::string Args(std::initializer_list<int> numbers) {
    std::string text;
    for (int number : numbers) {
        if (!text.empty()) text += ", ";
        text += std::to_string(number);
    }
    return text;
}

int AreaRead(const char* name, PlcCall call, PlcArea area, int start, int count, void* buffer) {
    Record(std::string(name) + "(" + Args({start, count}) + ")");
    const int result = NextResult(call);
    if (count <= 0) return result;
    if (result != 0) {
        std::memset(buffer, kFailedReadFill, static_cast<size_t>(count));
        return result;
    }
    std::lock_guard lock(Plc().mutex);
    CopyOut(AreaMemory(area), start, count, buffer);
    return result;
}

int AreaWrite(const char* name, PlcCall call, PlcArea area, int start, int count, void* buffer) {
    Record(std::string(name) + "(" + Args({start, count}) + ", " + HexBytes(buffer, count) + ")");
    const int result = NextResult(call);
    if (result != 0) return result;
    std::lock_guard lock(Plc().mutex);
    CopyIn(AreaMemory(area), start, count, buffer);
    return result;
}

}  // namespace

void ResetPlc() {
    PlcState& plc = Plc();
    std::lock_guard lock(plc.mutex);
    for (auto& queue : plc.queued) queue.clear();
    plc.defaults.fill(0);
    plc.dataBlocks.clear();
    for (auto& area : plc.areas) area.clear();
}

void QueuePlcResults(PlcCall call, std::vector<int> results) {
    PlcState& plc = Plc();
    std::lock_guard lock(plc.mutex);
    auto& queue = plc.queued[static_cast<size_t>(call)];
    queue.insert(queue.end(), results.begin(), results.end());
}

void SetPlcDefaultResult(PlcCall call, int result) {
    PlcState& plc = Plc();
    std::lock_guard lock(plc.mutex);
    plc.defaults[static_cast<size_t>(call)] = result;
}

void SetDataBlockBytes(int db, int start, const std::vector<uint8_t>& bytes) {
    std::lock_guard lock(Plc().mutex);
    CopyIn(DataBlockMemory(db), start, static_cast<int>(bytes.size()), bytes.data());
}

std::vector<uint8_t> DataBlockBytes(int db, int start, int count) {
    std::vector<uint8_t> bytes(static_cast<size_t>(count));
    std::lock_guard lock(Plc().mutex);
    CopyOut(DataBlockMemory(db), start, count, bytes.data());
    return bytes;
}

void SetAreaBytes(PlcArea area, int start, const std::vector<uint8_t>& bytes) {
    std::lock_guard lock(Plc().mutex);
    CopyIn(AreaMemory(area), start, static_cast<int>(bytes.size()), bytes.data());
}

std::vector<uint8_t> AreaBytes(PlcArea area, int start, int count) {
    std::vector<uint8_t> bytes(static_cast<size_t>(count));
    std::lock_guard lock(Plc().mutex);
    CopyOut(AreaMemory(area), start, count, bytes.data());
    return bytes;
}

}  // namespace fakes

using fakes::PlcArea;
using fakes::PlcCall;

extern "C" {

int load_tool(unsigned char stationCount, int reserved, const void* stationList) {
    std::string text = "load_tool(" + fakes::Args({stationCount, reserved}) + ", ";
    const auto* entries = static_cast<const uint8_t*>(stationList);
    const int shown = stationCount < 16 ? stationCount + 1 : 16;  // the list's room
    for (int i = 0; i < shown; ++i) {
        const uint8_t* entry = entries + 4 * i;
        text += "[" + std::to_string(entry[0]) + " " + std::to_string(entry[1]) + " " +
                std::to_string(entry[2]) + " " + std::to_string(entry[3]) + "]";
    }
    fakes::Record(text + ")");
    return fakes::NextResult(PlcCall::LoadTool);
}

int unload_tool(void) {
    fakes::Record("unload_tool()");
    return fakes::NextResult(PlcCall::UnloadTool);
}

int select_station(int position) {
    fakes::Record("select_station(" + std::to_string(position) + ")");
    return fakes::NextResult(PlcCall::SelectStation);
}

int e_read(int start, int count, void* buffer) {
    return fakes::AreaRead("e_read", PlcCall::ERead, PlcArea::Inputs, start, count, buffer);
}

int a_read(int start, int count, void* buffer) {
    return fakes::AreaRead("a_read", PlcCall::ARead, PlcArea::Outputs, start, count, buffer);
}

int m_read(int start, int count, void* buffer) {
    return fakes::AreaRead("m_read", PlcCall::MRead, PlcArea::Markers, start, count, buffer);
}

int d_field_read(int db, int start, int count, void* buffer) {
    fakes::Record("d_field_read(" + fakes::Args({db, start, count}) + ")");
    const int result = fakes::NextResult(PlcCall::DFieldRead);
    if (count <= 0) return result;
    if (result != 0) {
        std::memset(buffer, fakes::kFailedReadFill, static_cast<size_t>(count));
        return result;
    }
    std::lock_guard lock(fakes::Plc().mutex);
    fakes::CopyOut(fakes::DataBlockMemory(db), start, count, buffer);
    return result;
}

int a_write(int start, int count, void* buffer) {
    return fakes::AreaWrite("a_write", PlcCall::AWrite, PlcArea::Outputs, start, count, buffer);
}

int m_write(int start, int count, void* buffer) {
    return fakes::AreaWrite("m_write", PlcCall::MWrite, PlcArea::Markers, start, count, buffer);
}

int d_field_write(int db, int start, int count, void* buffer) {
    fakes::Record("d_field_write(" + fakes::Args({db, start, count}) + ", " +
                  fakes::HexBytes(buffer, count) + ")");
    const int result = fakes::NextResult(PlcCall::DFieldWrite);
    if (result != 0) return result;
    std::lock_guard lock(fakes::Plc().mutex);
    fakes::CopyIn(fakes::DataBlockMemory(db), start, count, buffer);
    return result;
}

// Data words are 2 bytes: word w starts at byte 2w.
int db_write(int db, int startWord, int* wordCount, void* buffer) {
    const int bytes = 2 * *wordCount;
    fakes::Record("db_write(" + fakes::Args({db, startWord, *wordCount}) + ", " +
                  fakes::HexBytes(buffer, bytes) + ")");
    const int result = fakes::NextResult(PlcCall::DbWrite);
    if (result != 0) return result;
    std::lock_guard lock(fakes::Plc().mutex);
    fakes::CopyIn(fakes::DataBlockMemory(db), 2 * startWord, bytes, buffer);
    return result;
}

// The PLC's REAL is an IEEE 754 single, most significant byte first.
int plc_real_to_float(const void* plcBytes, float* value) {
    fakes::Record("plc_real_to_float(" + fakes::HexBytes(plcBytes, 4) + ")");
    const auto* bytes = static_cast<const uint8_t*>(plcBytes);
    const uint32_t bits = uint32_t{bytes[0]} << 24 | uint32_t{bytes[1]} << 16 |
                          uint32_t{bytes[2]} << 8 | uint32_t{bytes[3]};
    std::memcpy(value, &bits, sizeof bits);
    return fakes::NextResult(PlcCall::RealToFloat);
}

int float_to_plc_real(const float* value, void* plcBytes) {
    char text[64];
    std::snprintf(text, sizeof text, "float_to_plc_real(%g)", static_cast<double>(*value));
    fakes::Record(text);
    uint32_t bits = 0;
    std::memcpy(&bits, value, sizeof bits);
    auto* bytes = static_cast<uint8_t*>(plcBytes);
    bytes[0] = static_cast<uint8_t>(bits >> 24);
    bytes[1] = static_cast<uint8_t>(bits >> 16);
    bytes[2] = static_cast<uint8_t>(bits >> 8);
    bytes[3] = static_cast<uint8_t>(bits);
    return fakes::NextResult(PlcCall::FloatToReal);
}

}  // extern "C"

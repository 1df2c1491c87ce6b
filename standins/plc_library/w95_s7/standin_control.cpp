// The host program's calls: the plant, faults, memory, clock, link state and trace.
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "plant_file.h"
#include "plc_export.h"
#include "s7_standin.h"
#include "simulator.h"

namespace s7standin {
namespace {

int Fail(const std::string& message, char* error, int errorSize) {
    if (error != nullptr && errorSize > 0) {
        const size_t length = message.size() < static_cast<size_t>(errorSize - 1)
                                  ? message.size()
                                  : static_cast<size_t>(errorSize - 1);
        std::memcpy(error, message.data(), length);
        error[length] = '\0';
    }
    return 1;
}

int LoadPlantText(const std::string& text, char* error, int errorSize) {
    Plant plant;
    std::string problem;
    try {
        if (!ParsePlant(text, plant, problem)) return Fail(problem, error, errorSize);
    } catch (const std::exception& failure) {
        return Fail(failure.what(), error, errorSize);
    }
    Simulator& state = State();
    std::lock_guard lock(state.mutex);
    ReplacePlant(state, std::move(plant));
    return 0;
}

bool AreaOf(int area, Area& result) {
    switch (area) {
        case S7_STANDIN_DATA_BLOCK:
        case S7_STANDIN_INPUTS:
        case S7_STANDIN_OUTPUTS:
        case S7_STANDIN_MARKERS:
            result = static_cast<Area>(area);
            return true;
        default:
            return false;
    }
}

template <typename Access>
int AccessAnyPlc(int mpi, int area, int start, int count, const void* bytes, Access access) {
    Area which;
    if (!AreaOf(area, which) || bytes == nullptr || count < 1 || start < 0) {
        return S7_STANDIN_BAD_ARGUMENT;
    }
    Simulator& state = State();
    std::lock_guard lock(state.mutex);
    PlcImage* plc = FindPlc(state.plant, mpi);
    if (plc == nullptr) return S7_STANDIN_STATION_NOT_ANSWERING;
    Animate(*plc, ElapsedMs(state));
    return access(state.plant, *plc, which);
}

}  // namespace
}  // namespace s7standin

using s7standin::State;

extern "C" {

PLC_EXPORT int S7StandinLoadFile(const char* path, char* error, int errorSize) {
    if (path == nullptr) return s7standin::Fail("no file named", error, errorSize);
    std::ifstream file(path, std::ios::binary);
    if (!file) return s7standin::Fail(std::string("cannot open ") + path, error, errorSize);
    std::ostringstream text;
    text << file.rdbuf();
    return s7standin::LoadPlantText(text.str(), error, errorSize);
}

PLC_EXPORT int S7StandinLoadText(const char* text, char* error, int errorSize) {
    if (text == nullptr) return s7standin::Fail("no text", error, errorSize);
    return s7standin::LoadPlantText(text, error, errorSize);
}

PLC_EXPORT void S7StandinUseDefault(void) {
    s7standin::Simulator& state = State();
    std::lock_guard lock(state.mutex);
    s7standin::ReplacePlant(state, s7standin::DefaultPlant());
}

PLC_EXPORT void S7StandinReset(void) {
    s7standin::Simulator& state = State();
    std::lock_guard lock(state.mutex);
    s7standin::ReplacePlant(state, s7standin::DefaultPlant());
    state.clockFrozen = false;
    state.linkLoaded = false;
    state.stations.clear();
    state.selected = 0;
    state.failuresLeft = 0;
    state.trace = nullptr;
}

PLC_EXPORT void S7StandinFailNextCalls(int count, int code) {
    s7standin::Simulator& state = State();
    std::lock_guard lock(state.mutex);
    state.failuresLeft = count > 0 ? count : 0;
    state.failureCode = code;
}

PLC_EXPORT int S7StandinSetAnswering(int mpi, int answering) {
    s7standin::Simulator& state = State();
    std::lock_guard lock(state.mutex);
    s7standin::PlcImage* plc = s7standin::FindPlc(state.plant, mpi);
    if (plc == nullptr) return -1;
    plc->answering = answering != 0;
    return 0;
}

PLC_EXPORT int S7StandinReadBytes(int mpi, int area, int db, int start, int count, void* bytes) {
    return s7standin::AccessAnyPlc(
        mpi, area, start, count, bytes,
        [&](s7standin::Plant& plant, s7standin::PlcImage& plc, s7standin::Area which) {
            return ReadMemory(plant, plc, which, db, start, count, bytes);
        });
}

PLC_EXPORT int S7StandinWriteBytes(int mpi, int area, int db, int start, int count,
                                   const void* bytes) {
    return s7standin::AccessAnyPlc(
        mpi, area, start, count, bytes,
        [&](s7standin::Plant& plant, s7standin::PlcImage& plc, s7standin::Area which) {
            return WriteMemory(plant, plc, which, db, start, count, bytes);
        });
}

PLC_EXPORT void S7StandinFreezeClock(long long millisecondsSinceLoad) {
    s7standin::Simulator& state = State();
    std::lock_guard lock(state.mutex);
    state.clockFrozen = true;
    state.frozenMs = millisecondsSinceLoad;
}

PLC_EXPORT void S7StandinRunClock(void) {
    s7standin::Simulator& state = State();
    std::lock_guard lock(state.mutex);
    state.clockFrozen = false;
}

PLC_EXPORT int S7StandinLinkLoaded(void) {
    s7standin::Simulator& state = State();
    std::lock_guard lock(state.mutex);
    return state.linkLoaded ? 1 : 0;
}

PLC_EXPORT int S7StandinSelectedStation(void) {
    s7standin::Simulator& state = State();
    std::lock_guard lock(state.mutex);
    if (!state.linkLoaded || state.selected == 0) return -1;
    return state.stations[static_cast<size_t>(state.selected - 1)].mpi;
}

PLC_EXPORT void S7StandinSetTraceStream(FILE* stream) {
    s7standin::Simulator& state = State();
    std::lock_guard lock(state.mutex);
    state.trace = stream;
}

}  // extern "C"

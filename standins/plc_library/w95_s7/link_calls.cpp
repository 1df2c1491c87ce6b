// The eleven w95_s7 calls the driver imports: the link to a station list, the selection of
// one station, and reads and writes of its memory.
#include <string>

#include "platform/plc_library.h"
#include "plc_export.h"
#include "s7_standin.h"
#include "simulator.h"

namespace s7standin {
namespace {

constexpr int kStationEntryBytes = 4;
constexpr int kMostStations = kHighestMpi + 1;

std::string Args(std::initializer_list<int> numbers) {
    std::string text;
    for (int number : numbers) {
        if (!text.empty()) text += ", ";
        text += std::to_string(number);
    }
    return text;
}

// A read or write of the selected station's memory, after the checks every access makes.
template <typename Access>
int AccessMemory(Simulator& state, int start, int count, const void* buffer, Access access) {
    int code = 0;
    if (TakeInjectedFailure(state, code)) return code;
    if (!state.linkLoaded) return S7_STANDIN_LINK_NOT_LOADED;
    if (buffer == nullptr || count < 1 || start < 0) return S7_STANDIN_BAD_ARGUMENT;
    PlcImage* plc = nullptr;
    const int reached = ReachSelectedPlc(state, plc);
    if (reached != 0) return reached;
    Animate(*plc, ElapsedMs(state));
    return access(*plc);
}

int Read(const char* name, Area area, int db, int start, int count, void* buffer,
         const std::string& args) {
    Simulator& state = State();
    std::lock_guard lock(state.mutex);
    const int rc = AccessMemory(state, start, count, buffer, [&](PlcImage& plc) {
        return ReadMemory(state.plant, plc, area, db, start, count, buffer);
    });
    if (state.trace != nullptr) {
        Trace(state, std::string(name) + "(" + args + ")", rc,
              rc == 0 ? HexBytes(buffer, count) : "");
    }
    return rc;
}

int Write(const char* name, Area area, int db, int start, int count, const void* buffer,
          const std::string& args) {
    Simulator& state = State();
    std::lock_guard lock(state.mutex);
    const int rc = AccessMemory(state, start, count, buffer, [&](PlcImage& plc) {
        return WriteMemory(state.plant, plc, area, db, start, count, buffer);
    });
    if (state.trace != nullptr) {
        const std::string bytes =
            buffer != nullptr && count > 0 ? ", " + HexBytes(buffer, count) : "";
        Trace(state, std::string(name) + "(" + args + bytes + ")", rc);
    }
    return rc;
}

}  // namespace
}  // namespace s7standin

using s7standin::Area;
using s7standin::State;

extern "C" {

// Loads the link with the first stationCount entries {MPI address, 0, slot, 0} of the list;
// the first station is selected.
PLC_EXPORT int ZELMPI_PLC_CALL load_tool(unsigned char stationCount, int reserved,
                                         const void* stationList) {
    s7standin::Simulator& state = State();
    std::lock_guard lock(state.mutex);
    const auto* entries = static_cast<const uint8_t*>(stationList);
    std::string list;
    std::vector<s7standin::Station> stations;
    for (int i = 0; entries != nullptr && i < stationCount; ++i) {
        const uint8_t* entry = entries + s7standin::kStationEntryBytes * i;
        list += "[" + std::to_string(entry[0]) + " " + std::to_string(entry[1]) + " " +
                std::to_string(entry[2]) + " " + std::to_string(entry[3]) + "]";
        stations.push_back({entry[0], entry[2]});
    }
    int rc = 0;
    bool badList =
        entries == nullptr || stationCount < 1 || stationCount > s7standin::kMostStations;
    for (const s7standin::Station& station : stations)
        badList |= station.mpi > s7standin::kHighestMpi;
    if (s7standin::TakeInjectedFailure(state, rc)) {
    } else if (badList) {
        rc = S7_STANDIN_BAD_STATION_LIST;
    } else if (state.linkLoaded) {
        rc = S7_STANDIN_ALREADY_LOADED;
    } else {
        state.linkLoaded = true;
        state.stations = std::move(stations);
        state.selected = 1;
    }
    s7standin::Trace(state,
                     "load_tool(" + std::to_string(stationCount) + ", " + std::to_string(reserved) +
                         ", " + list + ")",
                     rc);
    return rc;
}

// Always succeeds, loaded or not.
PLC_EXPORT int ZELMPI_PLC_CALL unload_tool(void) {
    s7standin::Simulator& state = State();
    std::lock_guard lock(state.mutex);
    state.linkLoaded = false;
    state.stations.clear();
    state.selected = 0;
    s7standin::Trace(state, "unload_tool()", 0);
    return 0;
}

// Selects the station at a 1-based position of the loaded list; it must answer. A failure
// leaves no station selected.
PLC_EXPORT int ZELMPI_PLC_CALL select_station(int position) {
    s7standin::Simulator& state = State();
    std::lock_guard lock(state.mutex);
    int rc = 0;
    if (s7standin::TakeInjectedFailure(state, rc)) {
    } else if (!state.linkLoaded) {
        rc = S7_STANDIN_LINK_NOT_LOADED;
    } else if (position < 1 || position > static_cast<int>(state.stations.size())) {
        rc = S7_STANDIN_NOT_IN_LIST;
    } else {
        state.selected = position;
        s7standin::PlcImage* plc = nullptr;
        rc = s7standin::ReachSelectedPlc(state, plc);
    }
    if (rc != 0 && state.linkLoaded) state.selected = 0;
    s7standin::Trace(state, "select_station(" + std::to_string(position) + ")", rc);
    return rc;
}

PLC_EXPORT int ZELMPI_PLC_CALL e_read(int start, int count, void* buffer) {
    return s7standin::Read("e_read", Area::Inputs, 0, start, count, buffer,
                           s7standin::Args({start, count}));
}

PLC_EXPORT int ZELMPI_PLC_CALL a_read(int start, int count, void* buffer) {
    return s7standin::Read("a_read", Area::Outputs, 0, start, count, buffer,
                           s7standin::Args({start, count}));
}

PLC_EXPORT int ZELMPI_PLC_CALL m_read(int start, int count, void* buffer) {
    return s7standin::Read("m_read", Area::Markers, 0, start, count, buffer,
                           s7standin::Args({start, count}));
}

PLC_EXPORT int ZELMPI_PLC_CALL d_field_read(int db, int start, int count, void* buffer) {
    return s7standin::Read("d_field_read", Area::DataBlock, db, start, count, buffer,
                           s7standin::Args({db, start, count}));
}

PLC_EXPORT int ZELMPI_PLC_CALL a_write(int start, int count, void* buffer) {
    return s7standin::Write("a_write", Area::Outputs, 0, start, count, buffer,
                            s7standin::Args({start, count}));
}

PLC_EXPORT int ZELMPI_PLC_CALL m_write(int start, int count, void* buffer) {
    return s7standin::Write("m_write", Area::Markers, 0, start, count, buffer,
                            s7standin::Args({start, count}));
}

PLC_EXPORT int ZELMPI_PLC_CALL d_field_write(int db, int start, int count, void* buffer) {
    return s7standin::Write("d_field_write", Area::DataBlock, db, start, count, buffer,
                            s7standin::Args({db, start, count}));
}

// Data words are 2 bytes: word w starts at byte 2w.
PLC_EXPORT int ZELMPI_PLC_CALL db_write(int db, int startWord, int* wordCount, void* buffer) {
    if (wordCount == nullptr) {
        s7standin::Simulator& state = State();
        std::lock_guard lock(state.mutex);
        s7standin::Trace(state, "db_write(" + s7standin::Args({db, startWord}) + ", null)",
                         S7_STANDIN_BAD_ARGUMENT);
        return S7_STANDIN_BAD_ARGUMENT;
    }
    const int words = *wordCount;
    const bool fits =
        startWord >= 0 && startWord <= 0x3FFFFFFF && words >= 0 && words <= 0x3FFFFFFF;
    return s7standin::Write("db_write", Area::DataBlock, db, fits ? 2 * startWord : -1,
                            fits ? 2 * words : 0, buffer, s7standin::Args({db, startWord, words}));
}

}  // extern "C"

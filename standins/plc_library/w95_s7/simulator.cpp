#include "simulator.h"

#include "s7_standin.h"

namespace s7standin {

Simulator& State() {
    static Simulator state;
    return state;
}

long long ElapsedMs(const Simulator& state) {
    if (state.clockFrozen) return state.frozenMs;
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 state.loadedAt)
        .count();
}

void ReplacePlant(Simulator& state, Plant plant) {
    state.plant = std::move(plant);
    state.loadedAt = std::chrono::steady_clock::now();
}

bool TakeInjectedFailure(Simulator& state, int& code) {
    if (state.failuresLeft <= 0) return false;
    --state.failuresLeft;
    code = state.failureCode;
    return true;
}

int ReachSelectedPlc(Simulator& state, PlcImage*& plc) {
    if (!state.linkLoaded) return S7_STANDIN_LINK_NOT_LOADED;
    if (state.selected == 0) return S7_STANDIN_STATION_NOT_ANSWERING;
    const Station& station = state.stations[static_cast<size_t>(state.selected - 1)];
    plc = FindPlc(state.plant, station.mpi);
    if (plc == nullptr || !Answers(state.plant, *plc, station.slot)) {
        return S7_STANDIN_STATION_NOT_ANSWERING;
    }
    return 0;
}

std::string HexBytes(const void* bytes, int count) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string text = "[";
    const auto* data = static_cast<const uint8_t*>(bytes);
    for (int i = 0; i < count; ++i) {
        if (i > 0) text += ' ';
        text += kDigits[data[i] >> 4];
        text += kDigits[data[i] & 0xF];
    }
    return text + "]";
}

void Trace(const Simulator& state, const std::string& call, int result, const std::string& after) {
    if (state.trace == nullptr) return;
    char code[16];
    std::snprintf(code, sizeof code, result == 0 ? "%d" : "0x%X", result);
    std::fprintf(state.trace, "w95_s7: %s = %s%s%s\n", call.c_str(), code, after.empty() ? "" : " ",
                 after.c_str());
    std::fflush(state.trace);
}

}  // namespace s7standin

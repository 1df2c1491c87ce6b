// The stand-in's one state: the plant, the link with its station list and selection, injected
// faults, the clock of animated values and the trace. Every call takes the one lock, since the
// host's request threads and the driver's worker thread call at the same time.
#pragma once

#include <chrono>
#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

#include "plant.h"

namespace s7standin {

struct Station {
    int mpi;
    int slot;
};

struct Simulator {
    std::mutex mutex;
    Plant plant = DefaultPlant();
    std::chrono::steady_clock::time_point loadedAt = std::chrono::steady_clock::now();
    bool clockFrozen = false;
    long long frozenMs = 0;

    bool linkLoaded = false;
    std::vector<Station> stations;  // the list of the last load_tool
    int selected = 0;               // 1-based position in stations; 0 = none

    int failuresLeft = 0;
    int failureCode = 0;

    FILE* trace = nullptr;
};

Simulator& State();

// Milliseconds since the plant was loaded, or the frozen time.
long long ElapsedMs(const Simulator& state);

// A new plant: its clock starts now.
void ReplacePlant(Simulator& state, Plant plant);

// Takes one pending injected failure; true with its code when there was one.
bool TakeInjectedFailure(Simulator& state, int& code);

// The selected station's PLC when the link reaches it; 0, or the library's code.
int ReachSelectedPlc(Simulator& state, PlcImage*& plc);

// One trace line, when a trace stream is set.
void Trace(const Simulator& state, const std::string& call, int result,
           const std::string& after = "");

std::string HexBytes(const void* bytes, int count);

}  // namespace s7standin

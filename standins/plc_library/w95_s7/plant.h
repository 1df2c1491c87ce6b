// The simulated plant: one memory image per MPI address, with data blocks, inputs, outputs,
// markers and animated values.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace s7standin {

inline constexpr int kHighestMpi = 126;
inline constexpr int kDefaultSlot = 2;
inline constexpr int kDefaultInputBytes = 1024;
inline constexpr int kDefaultOutputBytes = 1024;
inline constexpr int kDefaultMarkerBytes = 2048;
// The default plant's data blocks.
inline constexpr int kDefaultDataBlocks = 999;
inline constexpr int kDefaultDataBlockBytes = 1024;
inline constexpr int kLargestDataBlock = 65535;

enum class Area : char { DataBlock = 'D', Inputs = 'I', Outputs = 'Q', Markers = 'M' };

// A place in PLC memory: an area, the data block (for data blocks only) and a byte.
struct Location {
    Area area = Area::DataBlock;
    int db = 0;
    int byte = 0;
};

enum class ValueType { Byte, Word, Int, Dword, Dint, Real };

int SizeOf(ValueType type);
const char* NameOf(ValueType type);

// A value that moves with time, computed from the clock whenever its PLC memory is read.
struct Animation {
    enum class Kind { Counter, Ramp } kind = Kind::Counter;
    ValueType type = ValueType::Word;
    Location where;
    long long periodMs = 1000;  // counter: one step; ramp: up and back down
    double low = 0;             // ramp only
    double high = 0;
    int fileLine = 0;  // where the plant file describes it
};

struct PlcImage {
    int slot = kDefaultSlot;
    bool answering = true;
    std::vector<uint8_t> inputs = std::vector<uint8_t>(kDefaultInputBytes);
    std::vector<uint8_t> outputs = std::vector<uint8_t>(kDefaultOutputBytes);
    std::vector<uint8_t> markers = std::vector<uint8_t>(kDefaultMarkerBytes);
    std::map<int, std::vector<uint8_t>> dataBlocks;
    std::vector<Animation> animations;
};

struct Plant {
    // The default plant: a PLC at every MPI address, any slot, data blocks 1..999, each made
    // when first used.
    bool everyStationAnswers = false;
    std::map<int, PlcImage> plcs;
};

Plant DefaultPlant();

// The PLC at mpi, made on first use in the default plant; nullptr when there is none.
PlcImage* FindPlc(Plant& plant, int mpi);

// The PLC answers a station list entry naming this slot.
bool Answers(const Plant& plant, const PlcImage& plc, int slot);

// The bytes of an area or data block; nullptr when the data block does not exist.
std::vector<uint8_t>* MemoryOf(Plant& plant, PlcImage& plc, Area area, int db);

// Brings the PLC's animated values up to date for the given time since the plant was loaded.
void Animate(PlcImage& plc, long long elapsedMs);

// value as the PLC stores the type, most significant byte first; integers wrap.
void EncodeValue(ValueType type, double value, uint8_t* bytes);

// Copies between PLC memory and a buffer. Return 0 or the library's code: no data block, or
// past the end of the data block or area.
int ReadMemory(Plant& plant, PlcImage& plc, Area area, int db, int start, int count, void* buffer);
int WriteMemory(Plant& plant, PlcImage& plc, Area area, int db, int start, int count,
                const void* buffer);

}  // namespace s7standin

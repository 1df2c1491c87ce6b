#include "plant.h"

#include <cmath>
#include <cstring>

#include "s7_standin.h"

namespace s7standin {

int SizeOf(ValueType type) {
    switch (type) {
        case ValueType::Byte:
            return 1;
        case ValueType::Word:
        case ValueType::Int:
            return 2;
        default:
            return 4;
    }
}

const char* NameOf(ValueType type) {
    switch (type) {
        case ValueType::Byte:
            return "byte";
        case ValueType::Word:
            return "word";
        case ValueType::Int:
            return "int";
        case ValueType::Dword:
            return "dword";
        case ValueType::Dint:
            return "dint";
        default:
            return "real";
    }
}

Plant DefaultPlant() {
    Plant plant;
    plant.everyStationAnswers = true;
    return plant;
}

PlcImage* FindPlc(Plant& plant, int mpi) {
    if (mpi < 0 || mpi > kHighestMpi) return nullptr;
    const auto found = plant.plcs.find(mpi);
    if (found != plant.plcs.end()) return &found->second;
    if (!plant.everyStationAnswers) return nullptr;
    return &plant.plcs[mpi];
}

bool Answers(const Plant& plant, const PlcImage& plc, int slot) {
    return plc.answering && (plant.everyStationAnswers || plc.slot == slot);
}

std::vector<uint8_t>* MemoryOf(Plant& plant, PlcImage& plc, Area area, int db) {
    switch (area) {
        case Area::Inputs:
            return &plc.inputs;
        case Area::Outputs:
            return &plc.outputs;
        case Area::Markers:
            return &plc.markers;
        case Area::DataBlock:
            break;
    }
    const auto found = plc.dataBlocks.find(db);
    if (found != plc.dataBlocks.end()) return &found->second;
    if (!plant.everyStationAnswers || db < 1 || db > kDefaultDataBlocks) return nullptr;
    std::vector<uint8_t>& made = plc.dataBlocks[db];
    made.assign(kDefaultDataBlockBytes, 0);
    return &made;
}

void EncodeValue(ValueType type, double value, uint8_t* bytes) {
    uint32_t bits = 0;
    if (type == ValueType::Real) {
        const auto real = static_cast<float>(value);
        std::memcpy(&bits, &real, sizeof bits);
    } else {
        // Two's complement of the rounded value, cut to the type's width.
        const double rounded = std::nearbyint(value);
        const auto whole = static_cast<long long>(std::fmod(rounded, 4294967296.0));
        bits = static_cast<uint32_t>(whole);
    }
    const int size = SizeOf(type);
    for (int i = 0; i < size; ++i) {
        bytes[i] = static_cast<uint8_t>(bits >> (8 * (size - 1 - i)));
    }
}

namespace {

double AnimatedValue(const Animation& animation, long long elapsedMs) {
    const long long elapsed = elapsedMs < 0 ? 0 : elapsedMs;
    if (animation.kind == Animation::Kind::Counter) {
        return static_cast<double>(elapsed / animation.periodMs);
    }
    // Up from low to high in the first half of the period, back down in the second.
    const double phase =
        static_cast<double>(elapsed % animation.periodMs) / static_cast<double>(animation.periodMs);
    const double rise = phase < 0.5 ? 2.0 * phase : 2.0 * (1.0 - phase);
    return animation.low + (animation.high - animation.low) * rise;
}

bool InRange(const std::vector<uint8_t>& memory, int start, int count) {
    return start <= static_cast<int>(memory.size()) - count;
}

int CheckAccess(Plant& plant, PlcImage& plc, Area area, int db, int start, int count,
                std::vector<uint8_t>*& memory) {
    if (start < 0 || count < 1) return S7_STANDIN_BAD_ARGUMENT;
    memory = MemoryOf(plant, plc, area, db);
    if (memory == nullptr) return S7_STANDIN_NO_DATA_BLOCK;
    if (!InRange(*memory, start, count)) {
        return area == Area::DataBlock ? S7_STANDIN_PAST_DATA_BLOCK_END : S7_STANDIN_PAST_AREA_END;
    }
    return 0;
}

}  // namespace

void Animate(PlcImage& plc, long long elapsedMs) {
    for (const Animation& animation : plc.animations) {
        const Location& where = animation.where;
        std::vector<uint8_t>* memory = nullptr;
        switch (where.area) {
            case Area::Inputs:
                memory = &plc.inputs;
                break;
            case Area::Outputs:
                memory = &plc.outputs;
                break;
            case Area::Markers:
                memory = &plc.markers;
                break;
            case Area::DataBlock: {
                const auto found = plc.dataBlocks.find(where.db);
                if (found != plc.dataBlocks.end()) memory = &found->second;
                break;
            }
        }
        if (memory == nullptr || !InRange(*memory, where.byte, SizeOf(animation.type))) continue;
        EncodeValue(animation.type, AnimatedValue(animation, elapsedMs),
                    memory->data() + where.byte);
    }
}

int ReadMemory(Plant& plant, PlcImage& plc, Area area, int db, int start, int count, void* buffer) {
    std::vector<uint8_t>* memory = nullptr;
    const int rc = CheckAccess(plant, plc, area, db, start, count, memory);
    if (rc != 0) return rc;
    std::memcpy(buffer, memory->data() + start, static_cast<size_t>(count));
    return 0;
}

int WriteMemory(Plant& plant, PlcImage& plc, Area area, int db, int start, int count,
                const void* buffer) {
    std::vector<uint8_t>* memory = nullptr;
    const int rc = CheckAccess(plant, plc, area, db, start, count, memory);
    if (rc != 0) return rc;
    std::memcpy(memory->data() + start, buffer, static_cast<size_t>(count));
    return 0;
}

}  // namespace s7standin

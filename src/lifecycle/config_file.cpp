#include "lifecycle/config_file.h"

#include <cstdio>
#include <cstring>

#include "lifecycle/slot_scan.h"
#include "platform/host_runtime.h"

namespace zelmpi {
namespace {

// The scan starts from PLC number 99, which is outside SlotTable, and slot 99.
constexpr int kNoScanValue = 99;

bool IsComment(const char* line) {
    return (line[0] == '/' && line[1] == '/') || line[0] == ';';
}

// Reads one physical line, line end included, keeping what fits in line. Returns the number of
// characters the line had (0 at the end of the file or on a read error).
size_t ReadPhysicalLine(FILE* stream, char (&line)[kConfigLineSize]) {
    size_t length = 0;
    for (int c = std::fgetc(stream); c != EOF; c = std::fgetc(stream)) {
        if (length < kConfigLineSize - 1) line[length] = static_cast<char>(c);
        ++length;
        if (c == '\n') break;
    }
    line[length < kConfigLineSize - 1 ? length : kConfigLineSize - 1] = '\0';
    return length;
}

void StripSpaces(const char* line, char (&stripped)[kConfigLineSize]) {
    size_t out = 0;
    for (const char* c = line; *c != '\0'; ++c) {
        if (*c != ' ') stripped[out++] = *c;
    }
    stripped[out] = '\0';
}

void ApplyLine(DriverContext& context, const char* line, int& plc, int& slot) {
    if (const char* key = std::strstr(line, "LONG_DB"); key != nullptr) {
        if (std::strstr(key, "YES") != nullptr) {
            context.longDb = 1;
            err(kLogLevel, "RAVUDE: Set long DB to YES (4 digits)");
        }
        return;
    }
    if (const char* key = std::strstr(line, "FLOAT_ODD_ADDRESS"); key != nullptr) {
        if (std::strstr(key, "YES") != nullptr) {
            context.floatOddAddress = 1;
            err(kLogLevel, "RAVUDE : Odd address are allowed for float tags");
        }
        return;
    }
    ScanSlotAssignment(line, plc, slot);
    if (plc < 0 || plc >= kPlcNumbers) return;
    context.SlotTable[plc] = static_cast<uint8_t>(slot & 0xFF);
    err(kLogLevel, "RavUDE: Set Plc %d to Slot # %d", plc, context.SlotTable[plc]);
}

}  // namespace

void FormatConfigFileName(int instance, char (&name)[kConfigFileNameSize]) {
    std::snprintf(name, sizeof name, "ravUDE%.2d.int", instance);
}

bool NextConfigLine(ConfigFile& file, char (&line)[kConfigLineSize]) {
    for (;;) {
        if (std::feof(file.stream)) return false;
        const size_t length = ReadPhysicalLine(file.stream, line);
        if (length == 0) return false;
        ++file.lineNumber;
        if (IsComment(line)) continue;
        if (length < kConfigLineSize) return true;
        // Its tail must not pass for a line of its own, nor the line be half applied.
        err(kLogLevel, "RavUDE : File %s, line %d longer than %d characters, line ignored !",
            file.name, file.lineNumber, kConfigLineSize - 1);
    }
}

void ReadConfigFile(DriverContext& context, int instance) {
    context.floatOddAddress = 0;
    context.longDb = 0;
    int plc = kNoScanValue;
    int slot = kNoScanValue;

    char name[kConfigFileNameSize];
    FormatConfigFileName(instance, name);
    FILE* stream = std::fopen(name, "r");
    if (stream == nullptr) {
        err(kLogLevel, "RavUDE : File %s not found !", name);
        return;
    }
    ConfigFile file{stream, name, 0};
    char line[kConfigLineSize];
    char stripped[kConfigLineSize];
    while (NextConfigLine(file, line)) {
        StripSpaces(line, stripped);
        ApplyLine(context, stripped, plc, slot);
    }
    std::fclose(stream);
}

}  // namespace zelmpi

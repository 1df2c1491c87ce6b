// The per-instance configuration file: CPU slots per PLC number and the two address options.
#pragma once

#include <cstdio>

#include "zelmpi/driver_context.h"

namespace zelmpi {

// A line holds at most 135 characters including its line end, plus the terminating zero.
inline constexpr int kConfigLineSize = 136;

// "ravUDE" + the widest int (INT_MIN) + ".int" + terminating zero.
inline constexpr int kConfigFileNameSize = 24;

// An open configuration file with what its log lines name: the file and the current line.
struct ConfigFile {
    FILE* stream;
    const char* name;
    int lineNumber;  // physical lines read so far
};

// Writes the name of the instance's file, "ravUDE%.2d.int", into name.
void FormatConfigFileName(int instance, char (&name)[kConfigFileNameSize]);

// Reads the next line that is not a comment into line (with its line end); false at the end
// of the file or on a read error. A line too long for the buffer is skipped whole and logged.
bool NextConfigLine(ConfigFile& file, char (&line)[kConfigLineSize]);

// Clears both address options, then applies the instance's file to the context. A missing file
// is logged and leaves the defaults.
void ReadConfigFile(DriverContext& context, int instance);

}  // namespace zelmpi

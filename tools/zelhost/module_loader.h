// Loading the driver module at run time, as the host does: dlopen on POSIX, LoadLibrary on
// Windows. The module stays loaded until zelhost ends: its worker thread may outlive any
// request, so it is never unloaded under it.
#pragma once

#include <filesystem>
#include <string>

#include "zelmpi/zelmpi.h"

namespace zelhost {

// The module's file name on this platform: zelmpi.so or zelmpi.dll.
const char* ModuleFileName();

// Loads the module and finds ZelMain. On failure returns nullptr and says why in error;
// missingEntry tells a module without ZelMain from one that cannot be loaded at all.
ZelMainFunction LoadModuleEntry(const std::filesystem::path& path, std::string& error,
                                bool& missingEntry);

// The running zelhost binary, for finding the module and the demo plant beside it; empty
// when the platform cannot say.
std::filesystem::path ExecutablePath();

}  // namespace zelhost

// Lean: mmsystem.h would define DRV_OK, a name of the module's results.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include "module_loader.h"

namespace zelhost {

const char* ModuleFileName() {
    return "zelmpi.dll";
}

ZelMainFunction LoadModuleEntry(const std::filesystem::path& path, std::string& error,
                                bool& missingEntry) {
    missingEntry = false;
    HMODULE module = LoadLibraryW(std::filesystem::absolute(path).c_str());
    if (module == nullptr) {
        error = "cannot load " + path.string() + " (error " + std::to_string(GetLastError()) + ")";
        return nullptr;
    }
    // Exported undecorated by the module definition file; a decorated name is tried as well.
    FARPROC entry = GetProcAddress(module, "ZelMain");
    if (entry == nullptr) entry = GetProcAddress(module, "ZelMain@4");
    if (entry == nullptr) {
        missingEntry = true;
        error = path.string() + " has no ZelMain";
        FreeLibrary(module);
        return nullptr;
    }
    return reinterpret_cast<ZelMainFunction>(reinterpret_cast<void*>(entry));
}

std::filesystem::path ExecutablePath() {
    wchar_t buffer[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, buffer, MAX_PATH);
    if (length == 0 || length == MAX_PATH) return {};
    return std::filesystem::path(std::wstring(buffer, length));
}

}  // namespace zelhost

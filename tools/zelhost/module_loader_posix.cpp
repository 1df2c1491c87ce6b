#include <dlfcn.h>
#include <unistd.h>

#include <array>

#include "module_loader.h"

namespace zelhost {

const char* ModuleFileName() {
    return "zelmpi.so";
}

ZelMainFunction LoadModuleEntry(const std::filesystem::path& path, std::string& error,
                                bool& missingEntry) {
    missingEntry = false;
    // A bare file name would make dlopen search the library path; the user named a file.
    const std::filesystem::path file = path.has_parent_path() ? path : "./" / path;
    void* module = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) {
        const char* reason = dlerror();
        error = reason != nullptr ? reason : "cannot load " + path.string();
        return nullptr;
    }
    dlerror();
    void* entry = dlsym(module, "ZelMain");
    if (entry == nullptr) {
        missingEntry = true;
        error = path.string() + " has no ZelMain";
        dlclose(module);
        return nullptr;
    }
    return reinterpret_cast<ZelMainFunction>(entry);
}

std::filesystem::path ExecutablePath() {
    std::array<char, 4096> buffer{};
    const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (length <= 0) return {};
    return std::filesystem::path(std::string(buffer.data(), static_cast<size_t>(length)));
}

}  // namespace zelhost

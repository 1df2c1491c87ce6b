#include "resources.h"

#include "module_loader.h"

namespace zelhost {

namespace {

constexpr const char* kDemoPlant = "demo_plant.sim";

std::filesystem::path ExecutableDirectory() {
    const std::filesystem::path executable = ExecutablePath();
    return executable.empty() ? std::filesystem::path() : executable.parent_path();
}

bool Exists(const std::filesystem::path& path) {
    std::error_code error;
    return !path.empty() && std::filesystem::is_regular_file(path, error);
}

}  // namespace

std::vector<std::filesystem::path> ModuleCandidates() {
    std::vector<std::filesystem::path> candidates;
    const std::filesystem::path directory = ExecutableDirectory();
    if (!directory.empty()) {
        candidates.push_back(directory / ModuleFileName());
        candidates.push_back(directory.parent_path() / "lib" / ModuleFileName());
    }
#ifdef ZELHOST_BUILD_MODULE
    candidates.emplace_back(ZELHOST_BUILD_MODULE);
#endif
    if (candidates.empty()) candidates.emplace_back(ModuleFileName());
    return candidates;
}

std::filesystem::path DefaultModulePath() {
    const std::vector<std::filesystem::path> candidates = ModuleCandidates();
    for (const std::filesystem::path& candidate : candidates) {
        if (Exists(candidate)) return candidate;
    }
    return candidates.front();
}

std::optional<std::filesystem::path> DefaultSimPath() {
    std::vector<std::filesystem::path> candidates;
    const std::filesystem::path directory = ExecutableDirectory();
    if (!directory.empty()) {
        candidates.push_back(directory / kDemoPlant);
        candidates.push_back(directory.parent_path() / "share" / "zelmpi" / kDemoPlant);
    }
#ifdef ZELHOST_SOURCE_EXAMPLES
    candidates.push_back(std::filesystem::path(ZELHOST_SOURCE_EXAMPLES) / kDemoPlant);
#endif
    for (const std::filesystem::path& candidate : candidates) {
        if (Exists(candidate)) return candidate;
    }
    return std::nullopt;
}

}  // namespace zelhost

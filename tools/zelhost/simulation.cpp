#include "simulation.h"

#include <filesystem>

#include "resources.h"
#if __has_include("s7_standin.h")
#include "s7_standin.h"
#define ZELHOST_HAS_PLANT_FILES 1
#endif

namespace zelhost {

namespace {

#ifdef ZELHOST_HAS_PLANT_FILES
bool LoadPlantFile(const std::string& path, std::string& error) {
    char message[256] = "";
    if (S7StandinLoadFile(path.c_str(), message, static_cast<int>(sizeof message)) == 0)
        return true;
    error = path + ": " + message;
    return false;
}

bool LoadPlantText(const char* text, std::string& error) {
    char message[256] = "";
    if (S7StandinLoadText(text, message, static_cast<int>(sizeof message)) == 0) return true;
    error = message;
    return false;
}

void UseDefaultPlant() {
    S7StandinUseDefault();
}
#else
// A PLC stand-in that takes no plant: every file is only checked for being there.
bool LoadPlantFile(const std::string& path, std::string& error) {
    std::error_code ignored;
    if (std::filesystem::is_regular_file(path, ignored)) return true;
    error = "cannot read " + path;
    return false;
}

bool LoadPlantText(const char*, std::string&) {
    return true;
}

void UseDefaultPlant() {}
#endif

}  // namespace

SimulationChoice LoadSimulation(const std::optional<std::string>& simPath) {
    SimulationChoice choice;
    std::string error;
    if (simPath) {
        choice.source = *simPath;
        if (!LoadPlantFile(*simPath, error)) {
            choice.ok = false;
            choice.error = "the simulated PLC file " + error;
        }
        return choice;
    }
    if (const auto demo = DefaultSimPath()) {
        choice.source = demo->string();
        if (LoadPlantFile(choice.source, error)) return choice;
        choice.note = "the demo plant " + error + "; ";
    }
    if (*EmbeddedDemoPlant() != '\0' && LoadPlantText(EmbeddedDemoPlant(), error)) {
        choice.source = "the demo plant built into zelhost";
        return choice;
    }
    UseDefaultPlant();
    choice.source = "the PLC stand-in's default plant";
    choice.note += "no demo plant found; the PLC stand-in's default plant simulates the PLCs";
    return choice;
}

}  // namespace zelhost

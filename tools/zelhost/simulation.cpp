#include "simulation.h"

#include <filesystem>

#include "resources.h"
#include "s7_standin.h"

namespace zelhost {

namespace {

// The stand-in's message names the line ("line 3: ..."); the error says "FILE: line 3: ...".
bool LoadPlantFile(const std::string& path, std::string& error) {
    std::error_code ignored;
    if (!std::filesystem::is_regular_file(path, ignored)) {
        error = "cannot read the simulated PLC file " + path;
        return false;
    }
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

}  // namespace

SimulationChoice LoadSimulation(const std::optional<std::string>& simPath) {
    SimulationChoice choice;
    std::string error;
    if (simPath) {
        choice.source = *simPath;
        if (!LoadPlantFile(*simPath, error)) {
            choice.ok = false;
            choice.error = error;
        }
        return choice;
    }
    if (const auto demo = DefaultSimPath()) {
        choice.source = demo->string();
        if (LoadPlantFile(choice.source, error)) return choice;
        choice.note = error + "; ";
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

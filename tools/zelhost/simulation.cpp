#include "simulation.h"

#include "resources.h"
#include "s7_standin.h"

namespace zelhost {

namespace {

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

#include "simulation.h"

#include "resources.h"

namespace zelhost {

SimulationChoice ChooseSimulation(const std::optional<std::string>& simPath) {
    SimulationChoice choice;
    std::optional<std::filesystem::path> file;
    if (simPath) {
        file = *simPath;
        std::error_code error;
        if (!std::filesystem::is_regular_file(*file, error)) {
            choice.ok = false;
            choice.error = "cannot read the simulated PLC file " + *simPath;
            return choice;
        }
    } else {
        file = DefaultSimPath();
    }
    if (!file) {
        choice.note = "no demo plant found; the PLC stand-in's built-in default simulates the PLCs";
        choice.source = "built-in default";
        return choice;
    }
    choice.source = file->string();
    return choice;
}

}  // namespace zelhost

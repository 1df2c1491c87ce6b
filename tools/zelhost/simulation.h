// Naming the simulated PLCs to the PLC stand-in before the module first loads its link.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace zelhost {

struct SimulationChoice {
    bool ok = true;
    std::string error;   // when not ok: why the file cannot be used
    std::string note;    // something the user should know, e.g. the built-in default is used
    std::string source;  // what simulates the PLCs, for the reports
};

// The named file, or the demo plant when none is named; the stand-in's built-in default
// when there is no demo plant either.
SimulationChoice ChooseSimulation(const std::optional<std::string>& simPath);

}  // namespace zelhost

// The simulated PLCs: the plant file handed to the PLC stand-in before the module first
// loads its link.
#pragma once

#include <optional>
#include <string>

namespace zelhost {

struct SimulationChoice {
    bool ok = true;
    std::string error;   // when not ok: why the plant cannot be used
    std::string note;    // something the user should know, e.g. the built-in default is used
    std::string source;  // what simulates the PLCs
};

// The named file; without one the demo plant (beside zelhost, installed, in the source
// tree, or the copy built into zelhost); without that the stand-in's built-in default.
SimulationChoice LoadSimulation(const std::optional<std::string>& simPath);

// The demo plant's text as built into zelhost; empty when there was none at build time.
const char* EmbeddedDemoPlant();

}  // namespace zelhost

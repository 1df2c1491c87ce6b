// Where zelhost finds what it needs when the command line does not say: the driver module
// and the demo plant, beside the binary, in an installed tree, or in the build tree.
#pragma once

#include <filesystem>
#include <optional>
#include <vector>

namespace zelhost {

// Places to look for the module, in order: beside zelhost, an installed lib/ folder, and the
// module this zelhost was built with.
std::vector<std::filesystem::path> ModuleCandidates();
// The first candidate that exists, or the first candidate (for the error message).
std::filesystem::path DefaultModulePath();

// The demo plant: beside zelhost, an installed share/zelmpi/ folder, or the source tree's
// examples/. Nothing when none exists.
std::optional<std::filesystem::path> DefaultSimPath();

}  // namespace zelhost

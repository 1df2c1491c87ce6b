// The plant file: a small line-oriented text describing simulated PLCs (docs/simulated-plcs.md).
#pragma once

#include <string>

#include "plant.h"

namespace s7standin {

// Fills plant from text. Returns false with a message naming the line ("line 7: ...").
bool ParsePlant(const std::string& text, Plant& plant, std::string& error);

}  // namespace s7standin

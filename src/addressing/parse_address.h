// The address parser behind OP_PARSE and OP_CHECK_SIZE.
#pragma once

#include "zelmpi/driver_context.h"
#include "zelmpi/tag_address.h"

namespace zelmpi {

// Parse-only ends the parse once the address itself is checked: the host type of float and
// double-word tags and bit numbers are not looked at. Passed per call, so parses on different
// threads never see each other's mode.
enum class ParseMode { kFull, kParseOnly };

// Checks definition.addressText against the address syntax and definition.hostType, writing
// definition.tag as it goes. DRV_OK when accepted; otherwise logs exactly one line and answers
// DRV_FAILED, leaving in the record whatever was written before the refusal. Reads only the
// context's longDb and floatOddAddress.
int ParseTagDefinition(const DriverContext& context, TagDefinition& definition, ParseMode mode);

}  // namespace zelmpi

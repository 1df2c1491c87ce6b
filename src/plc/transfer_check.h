// Refusal of transfer requests that no tag the parser accepted can produce: they are answered
// DRV_FAILED with one log line, before any library call, without switching the station and
// without recording an outcome.
#pragma once

#include "zelmpi/driver_request.h"

namespace zelmpi {

// True when the reads (and writes) may go ahead with this request: a context and a transfer
// block, a PLC number 0 to 99, a known access code, a value array, and an element count (or
// for strings, a declared length) whose bytes fit the transfer buffer. Logs one line when not.
bool AcceptTransfer(const DriverRequest* request);

// True when the tag's bit number is 255, or 0 to 15 on a kind with 16-bit elements; the
// single-value operations shift and mask by it. Logs one line when not.
bool AcceptBitNumber(const DriverRequest* request);

}  // namespace zelmpi

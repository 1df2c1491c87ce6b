// The line settings of a DCB on termios, and back.
#pragma once

#include <termios.h>

#include "platform/kernel.h"

namespace zelkernel {

// Raw mode, as a Windows COM port always is: no line editing, no echo, no translation; reads
// return what has arrived (the time-outs are the stand-in's own).
void MakeRaw(termios& settings);

// Fills the DCB's line fields from the terminal; the fields termios has no place for come from
// remembered, the DCB last set.
void DcbFromTermios(const termios& settings, const DCB& remembered, DCB& dcb);

// Changes settings as the DCB asks. False for what Windows refuses too: a baud rate the
// terminal does not know, data bits outside 5 to 8, an unknown parity or stop-bits code, 1.5
// stop bits with other than 5 data bits, 2 stop bits with 5 data bits.
bool TermiosFromDcb(const DCB& dcb, termios& settings);

// 8 data bits and no parity: all a pseudo-terminal takes.
void WithoutParity(termios& settings);

}  // namespace zelkernel

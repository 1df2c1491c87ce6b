// What zelhost needs to know about its terminal: whether standard output is one, and
// switching on the escape sequences that redraw the poll table in place.
#pragma once

namespace zelhost {

bool StdoutIsTerminal();

// Columns of the terminal on standard output; 80 when it cannot say.
unsigned TerminalColumns();

// Makes standard output understand ANSI escape sequences; false when it cannot.
bool EnableAnsiOnStdout();

}  // namespace zelhost

#include <sys/ioctl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "terminal.h"

namespace zelhost {

bool StdoutIsTerminal() {
    return isatty(fileno(stdout)) != 0;
}

unsigned TerminalColumns() {
    winsize size{};
    if (ioctl(fileno(stdout), TIOCGWINSZ, &size) != 0 || size.ws_col == 0) return 80;
    return size.ws_col;
}

bool EnableAnsiOnStdout() {
    const char* term = std::getenv("TERM");
    return term != nullptr && std::strcmp(term, "dumb") != 0;
}

}  // namespace zelhost

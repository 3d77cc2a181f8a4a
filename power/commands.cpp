#include "power/launcher.h"

namespace power {

std::vector<std::string> commandFor(Action action) {
#ifdef _WIN32
    // One command line: CreateProcessW takes it whole and shutdown.exe parses it itself.
    return {action == Action::Shutdown ? "shutdown.exe -f -s -t 0" : "shutdown.exe -f -r -t 0"};
#else
    return {"systemctl", action == Action::Shutdown ? "poweroff" : "reboot"};
#endif
}

}  // namespace power

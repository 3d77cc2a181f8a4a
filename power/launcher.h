// Starting the power action: the operating system's own command, started without waiting for it,
// and what became of it, asked for without ever blocking the window.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace power {

enum class Action { Shutdown, Restart };

// How a started command ended.
struct Outcome {
    bool succeeded = false;
    std::string reason;  // a few words on a failure, in the program's language
};

class Launcher {
  public:
    virtual ~Launcher() = default;
    // Starts the command of the action. Returns nothing when it is running, else why it could not
    // be started. A command started earlier and still running is left alone; poll() then speaks of
    // the new one.
    virtual std::optional<std::string> start(Action action) = 0;
    // Once the command started last has ended: how it ended, reported once. Nothing while it runs
    // or when nothing was started. Never waits.
    virtual std::optional<Outcome> poll() = 0;
};

// The command each platform runs: on Windows the whole command line as one element
// ("shutdown.exe -f -s -t 0"), elsewhere the program and its arguments ("systemctl", "poweroff").
std::vector<std::string> commandFor(Action action);

// The launcher of this platform.
std::unique_ptr<Launcher> makeSystemLauncher();

}  // namespace power

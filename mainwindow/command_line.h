// The options the program may be started with, so that a script or the system's task scheduler
// can set the main window's target and arm it.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "forms/window_host.h"
#include "mainwindow/clock.h"
#include "mainwindow/moment.h"
#include "settings/year_range.h"

namespace mainwindow {

struct CommandLine {
    // What is wrong with the command line, for the user; empty when it is sound.
    std::string error;
    bool help = false;
    bool version = false;
    // The six target texts as the lists hold them ("2026", "12", "24", "18", "30", "0").
    std::optional<Fields> target;
    // For --in, the clock's second they stand for, which they cannot name alone in an hour the
    // clock shows twice.
    std::optional<std::int64_t> targetSecond;
    bool restart = false;
    bool arm = false;
};

// Reads the arguments after the program's name (UTF-8):
//   --at "YYYY-MM-DD HH:MM:SS"   the target; seconds may be left out
//   --at "HH:MM:SS"              that time when the clock next shows it: today if it is still
//                                ahead of now, else tomorrow
//   --in DURATION                that much time after the clock's current second: "1h30m",
//                                "90m", "45s", hours, minutes and seconds each at most once and
//                                in that order; not with --at
//   --restart, --arm, --help (or -h, which wins over everything else), --version (which wins over
//   everything but help)
// A target must be a moment the clock shows, whose year the list offers: OFFERED is asked for the
// list's years only then.
CommandLine parseCommandLine(const std::vector<std::string>& args, const Clock& clock,
                             const std::function<years::YearRange()>& offered);

// What the program does with its arguments, the same on every platform: start its windows with
// the request, or only show a text and end. Help and a command line that is wrong neither read
// nor create the settings file.
struct CommandLineDecision {
    // Shown instead of starting: the usage, the version, or what is wrong followed by the usage.
    std::optional<std::string> text;
    bool error = false;
    int status = 0;  // once the text is shown
    CommandLine request;
};
CommandLineDecision decideCommandLine(const std::vector<std::string>& args, const Clock& clock);

// What --help shows, and what follows an error.
std::string commandLineUsage();

// What --version shows: the command's name, the program's and its version.
std::string versionText();

// Does in the loaded main window what the command line asks, as a user would: types the target
// into the six lists, picks "重启", presses "生效".
void applyCommandLine(forms::WindowHost& host, const CommandLine& request);

}  // namespace mainwindow

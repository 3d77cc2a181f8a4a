// The Windows build's entry point: the command line, the main window on plain Win32 controls,
// then the message loop.
#include <windows.h>
// After windows.h, whose types it uses.
#include <shellapi.h>

#include <cstdlib>

#include "app/program.h"
#include "mainwindow/clock.h"
#include "mainwindow/command_line.h"
#include "platform/win32_handles.h"
#include "platform/win32_text.h"
#include "power/execution_state.h"
#include "power/launcher.h"
#include "toolkits/win32/win32_application.h"
#include "warning/Form3.h"

namespace {

std::vector<std::string> arguments() {
    int count = 0;
    const win32handles::UniqueLocal<LPWSTR> wide(CommandLineToArgvW(GetCommandLineW(), &count));
    std::vector<std::string> args;
    for (int i = 1; i < count; ++i) {
        args.push_back(win32text::narrow(wide.get()[i]));
    }
    return args;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    mainwindow::SystemClock clock;
    // Before the windows, which use them until the last one goes.
    const std::unique_ptr<power::Launcher> launcher = power::makeSystemLauncher();
    power::ExecutionStateKeepAwake keepAwake;
    warning::Link warning;
    const std::vector<std::string> args = arguments();
    const mainwindow::CommandLine request =
        args.empty() ? mainwindow::CommandLine{}
                     : mainwindow::parseCommandLine(args, mainwindow::yearsFromSettings(), clock);
    win32forms::Win32Application app;
    // The program has no console: help and errors are shown in a box.
    const std::string& title = mainwindow::Form1Table().caption;
    if (!request.error.empty()) {
        app.messageBox(request.error + "\n\n" + mainwindow::commandLineUsage(), title,
                       forms::MessageIcon::Error);
        return 2;
    }
    if (request.help) {
        app.messageBox(mainwindow::commandLineUsage(), title, forms::MessageIcon::Information);
        return EXIT_SUCCESS;
    }
    if (request.version) {
        app.messageBox(mainwindow::versionText(), title, forms::MessageIcon::Information);
        return EXIT_SUCCESS;
    }

    if (!program::start(app, {clock, *launcher, keepAwake, &warning}, request)) {
        return EXIT_FAILURE;
    }
    return app.run();
}

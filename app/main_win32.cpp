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

// The program has no console: help and errors are shown in a box. Where none can be shown (no
// desktop to show it on) they are lost, which is a failure of its own; the text then goes to the
// standard error that whoever started the program may have given it, in UTF-8.
bool shown(const std::string& text, UINT icon) {
    const std::wstring title = win32text::wide(mainwindow::Form1Table().caption);
    if (MessageBoxW(nullptr, win32text::wide(text).c_str(), title.c_str(), MB_OK | icon) == IDOK) {
        return true;
    }
    const std::string lost = "无法显示以下消息：\n\n" + text;
    const HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
    DWORD written = 0;
    if (error != nullptr && error != INVALID_HANDLE_VALUE) {
        WriteFile(error, lost.data(), static_cast<DWORD>(lost.size()), &written, nullptr);
    }
    return false;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    mainwindow::SystemClock clock;
    // Before the windows, which use them until the last one goes.
    const std::unique_ptr<power::Launcher> launcher = power::makeSystemLauncher();
    power::ExecutionStateKeepAwake keepAwake;
    warning::Link warning;
    const std::vector<std::string> args = arguments();
    const mainwindow::CommandLineDecision decided = mainwindow::decideCommandLine(args, clock);
    win32forms::Win32Application app;
    if (decided.text) {
        return shown(*decided.text, decided.error ? MB_ICONERROR : MB_ICONINFORMATION)
                   ? decided.status
                   : EXIT_FAILURE;
    }

    if (!program::start(app, {clock, *launcher, keepAwake, warning}, decided.request)) {
        return EXIT_FAILURE;
    }
    return app.run();
}

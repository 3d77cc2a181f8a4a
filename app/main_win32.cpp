// The Windows build's entry point: the main window on plain Win32 controls, then the message loop.
#include <cstdlib>

#include "mainwindow/Form1.h"
#include "power/execution_state.h"
#include "power/launcher.h"
#include "toolkits/win32/win32_application.h"
#include "yeardialog/Form2.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    mainwindow::SystemClock clock;
    const std::unique_ptr<power::Launcher> launcher = power::makeSystemLauncher();
    power::ExecutionStateKeepAwake keepAwake;
    win32forms::Win32Application app;
    app.define("Form1", mainwindow::Form1Definition({clock, *launcher, keepAwake}));
    app.define("Form2", yeardialog::Form2Definition());
    app.show("Form1");
    // A main window that could not start has said so and ended the program.
    return app.ended() ? EXIT_FAILURE : app.run();
}

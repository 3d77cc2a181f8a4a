#include "app/program.h"

#include "trayicon/TrayIcon.h"
#include "warning/Form3.h"
#include "yeardialog/Form2.h"

namespace program {

bool start(forms::WindowHost& host, const mainwindow::Form1Services& services,
           const mainwindow::CommandLine& request) {
    host.define(std::string(windows::kMainWindow), mainwindow::Form1Definition(services));
    host.define(std::string(windows::kYearDialog), yeardialog::Form2Definition());
    host.define(std::string(windows::kWarning), warning::Form3Definition(services.warning));
    host.define(std::string(windows::kTrayIcon), trayicon::TrayIconDefinition(services.warning));
    host.show(windows::kMainWindow);
    if (host.ended()) {
        return false;
    }
    mainwindow::applyCommandLine(host, request);
    return true;
}

}  // namespace program

#include "app/program.h"

#include "warning/Form3.h"
#include "yeardialog/Form2.h"

namespace program {

bool start(forms::WindowHost& host, const mainwindow::Form1Services& services,
           const mainwindow::CommandLine& request) {
    host.define("Form1", mainwindow::Form1Definition(services));
    host.define("Form2", yeardialog::Form2Definition());
    host.define("Form3", warning::Form3Definition(*services.warning));
    host.show("Form1");
    if (host.ended()) {
        return false;
    }
    mainwindow::applyCommandLine(host, request);
    return true;
}

}  // namespace program

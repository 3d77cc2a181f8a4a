// The Qt build's entry point: the main window on Qt Widgets, then the event loop.
#include <QApplication>
#include <QDBusConnection>
#include <QIcon>

#include <cstdlib>

#include "mainwindow/Form1.h"
#include "power/launcher.h"
#include "power/logind_inhibitor.h"
#include "toolkits/qt/qt_application.h"
#include "yeardialog/Form2.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/vorlix-shutdown/icon-48.png")));

    mainwindow::SystemClock clock;
    const std::unique_ptr<power::Launcher> launcher = power::makeSystemLauncher();
    power::LogindInhibitor keepAwake(QDBusConnection::systemBus(),
                                     QStringLiteral("Vorlix定时关机软件"));
    qtforms::QtApplication app;
    app.define("Form1", mainwindow::Form1Definition({clock, *launcher, keepAwake}));
    app.define("Form2", yeardialog::Form2Definition());
    app.show("Form1");
    // A main window that could not start has said so and ended the program.
    return app.ended() ? EXIT_FAILURE : QApplication::exec();
}

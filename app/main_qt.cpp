// The Qt build's entry point: the command line, the main window on Qt Widgets, then the event
// loop.
#include <QApplication>
#include <QDBusConnection>
#include <QIcon>

#include <cstdlib>
#include <iostream>

#include "app/program.h"
#include "mainwindow/clock.h"
#include "mainwindow/command_line.h"
#include "power/launcher.h"
#include "power/logind_inhibitor.h"
#include "toolkits/qt/qt_application.h"
#include "warning/Form3.h"

namespace {

// Qt ends a program that finds no display with an abort, a core dump and a hint to reinstall it.
// A scheduler that starts this one outside the user's desktop gets the reason and a plain exit.
QtMessageHandler qtsOwnHandler = nullptr;

void startingQt(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type != QtFatalMsg) {
        qtsOwnHandler(type, context, message);
        return;
    }
    std::cerr << "无法打开程序窗口：找不到图形显示（DISPLAY 或 WAYLAND_DISPLAY 所指的桌面）。\n\n"
                 "错误详情（报告问题时请附上）："
              << message.toStdString() << std::endl;
    std::_Exit(EXIT_FAILURE);
}

}  // namespace

int main(int argc, char* argv[]) {
    mainwindow::SystemClock clock;
    // Read before Qt starts, so that help and errors need no display.
    const std::vector<std::string> args(argv + 1, argv + argc);
    const mainwindow::CommandLine request =
        args.empty() ? mainwindow::CommandLine{}
                     : mainwindow::parseCommandLine(args, mainwindow::yearsFromSettings(), clock);
    if (!request.error.empty()) {
        std::cerr << request.error << "\n\n" << mainwindow::commandLineUsage();
        return 2;
    }
    if (request.help) {
        std::cout << mainwindow::commandLineUsage();
        return EXIT_SUCCESS;
    }
    if (request.version) {
        std::cout << mainwindow::versionText() << std::flush;
        return std::cout ? EXIT_SUCCESS : EXIT_FAILURE;
    }

    qtsOwnHandler = qInstallMessageHandler(startingQt);
    QApplication application(argc, argv);
    qInstallMessageHandler(qtsOwnHandler);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/vorlix-shutdown/icon-48.png")));

    const std::unique_ptr<power::Launcher> launcher = power::makeSystemLauncher();
    power::LogindInhibitor keepAwake(QDBusConnection::systemBus(),
                                     QStringLiteral("Vorlix定时关机软件"));
    warning::Link warning;
    qtforms::QtApplication app;
    if (!program::start(app, {clock, *launcher, keepAwake, &warning}, request)) {
        return EXIT_FAILURE;
    }
    return QApplication::exec();
}

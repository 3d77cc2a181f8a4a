// Stands in for systemd-logind on the bus at ADDRESS and writes what it sees to LOG, a line each:
// "ready" once it serves, "inhibit WHAT|WHO|WHY|MODE" for each request and "held N" whenever the
// number of locks held changes.
//
// Usage: fake_login1 ADDRESS LOG
#include <QCoreApplication>
#include <QDBusConnection>
#include <QFile>
#include <QTextStream>
#include <QTimer>
#include <cstdio>

#include "fake_login1.h"

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    if (argc != 3) {
        std::fputs("usage: fake_login1 ADDRESS LOG\n", stderr);
        return 2;
    }
    QFile file(QString::fromLocal8Bit(argv[2]));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) {
        std::fputs("fake_login1: cannot open the log\n", stderr);
        return 1;
    }
    QTextStream log(&file);
    testing_support::FakeLogin1 login1;
    if (!login1.serveOn(QDBusConnection::connectToBus(QString::fromLocal8Bit(argv[1]),
                                                      QStringLiteral("bus")))) {
        std::fputs("fake_login1: cannot serve on the bus\n", stderr);
        return 1;
    }
    log << "ready\n" << Qt::flush;

    std::size_t logged = 0;
    int held = -1;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        for (; logged < login1.calls.size(); ++logged) {
            log << "inhibit " << login1.calls[logged].join(u'|') << '\n';
        }
        if (login1.locksHeld() != held) {
            held = login1.locksHeld();
            log << "held " << held << '\n';
        }
        log.flush();
    });
    poll.start(20);
    return QCoreApplication::exec();
}

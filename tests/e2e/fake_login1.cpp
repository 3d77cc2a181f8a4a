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

#include "fake_login1.h"

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    QFile file(QString::fromLocal8Bit(argv[argc - 1]));
    testing_support::FakeLogin1 login1;
    if (argc != 3 || !file.open(QIODevice::WriteOnly | QIODevice::Append) ||
        !login1.serveOn(QDBusConnection::connectToBus(QString::fromLocal8Bit(argv[1]),
                                                      QStringLiteral("bus")))) {
        qCritical("usage: fake_login1 ADDRESS LOG, with a bus at ADDRESS and LOG writable");
        return 1;
    }
    QTextStream log(&file);
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

// Stands in for systemd-logind on the bus at ADDRESS and, once it serves there, writes "held N" to
// LOG whenever the number of sleep locks it handed out that are still held changes.
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
    int held = -1;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (login1.locksHeld() != held) {
            held = login1.locksHeld();
            log << "held " << held << '\n' << Qt::flush;
        }
    });
    poll.start(20);
    return QCoreApplication::exec();
}

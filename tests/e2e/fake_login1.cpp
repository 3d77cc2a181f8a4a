// Usage: fake_login1 ADDRESS LOG. Stands in for systemd-logind on the bus at ADDRESS: prints each
// request for a lock to stderr, refuses those of "refuse", hands the others out as the write end of
// a pipe, and writes "held N" to LOG whenever N, the locks still open somewhere, changes.
#include <poll.h>
#include <unistd.h>

#include <QtDBus>
#include <cstdio>

static std::vector<pollfd> readEnds;

class FakeLogin1 : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Manager")

  public slots:
    QDBusUnixFileDescriptor Inhibit(const QString& what, const QString& who, const QString& why,
                                    const QString& mode) {
        qInfo().noquote() << QStringList{what, who, why, mode}.join('|');
        int ends[2];
        if (who == "refuse" || ::pipe(ends) != 0) {
            sendErrorReply(QDBusError::AccessDenied, "not allowed");
            return {};
        }
        readEnds.push_back({ends[0], POLLIN, 0});
        const QDBusUnixFileDescriptor lock(ends[1]);  // a copy of its own
        ::close(ends[1]);
        return lock;
    }
};

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    FakeLogin1 login1;
    QDBusConnection bus = QDBusConnection::connectToBus(QString::fromLocal8Bit(argv[1]), "bus");
    FILE* log = argc > 2 ? std::fopen(argv[2], "a") : nullptr;
    if (!log ||
        !bus.registerObject("/org/freedesktop/login1", &login1, QDBusConnection::ExportAllSlots) ||
        !bus.registerService("org.freedesktop.login1")) {
        qCritical("usage: fake_login1 ADDRESS LOG, with a bus at ADDRESS");
        return 1;
    }
    QTimer poll;
    poll.callOnTimeout([&, held = -1]() mutable {
        if (const int now = int(readEnds.size()) - ::poll(readEnds.data(), readEnds.size(), 0);
            now != held) {
            std::fprintf(log, "held %d\n", held = now);
            std::fflush(log);
        }
    });
    poll.start(20);
    return QCoreApplication::exec();
}

#include "fake_login1.moc"

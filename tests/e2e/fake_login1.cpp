// Usage: fake_login1 ADDRESS LOG. Stands in for systemd-logind's manager on the bus at ADDRESS:
// prints each request for a lock, refuses them all when FAKE_LOGIN1_REFUSE is set, else hands the
// lock out as the write end of a pipe whose read end it keeps. Writes "held N" to LOG whenever the
// number of locks whose write end is still open somewhere changes.
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusUnixFileDescriptor>
#include <QFile>
#include <QTimer>
#include <cstdio>
#include <vector>

class FakeLogin1 : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Manager")

  public:
    std::vector<QDBusUnixFileDescriptor> readEnds;

  public slots:
    QDBusUnixFileDescriptor Inhibit(const QString& what, const QString& who, const QString& why,
                                    const QString& mode) {
        std::printf("%s\n", QStringList{what, who, why, mode}.join('|').toUtf8().constData());
        std::fflush(stdout);
        int ends[2];
        if (qEnvironmentVariableIsSet("FAKE_LOGIN1_REFUSE") || ::pipe2(ends, O_CLOEXEC) != 0) {
            sendErrorReply(QDBusError::AccessDenied, QStringLiteral("not allowed"));
            return {};
        }
        readEnds.emplace_back().giveFileDescriptor(ends[0]);
        QDBusUnixFileDescriptor lock;
        lock.giveFileDescriptor(ends[1]);
        return lock;
    }
};

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    QFile log(QString::fromLocal8Bit(argv[argc - 1]));
    FakeLogin1 login1;
    QDBusConnection bus = QDBusConnection::connectToBus(QString::fromLocal8Bit(argv[1]), "bus");
    if (argc != 3 || !log.open(QIODevice::WriteOnly | QIODevice::Append) ||
        !bus.registerObject("/org/freedesktop/login1", &login1, QDBusConnection::ExportAllSlots) ||
        !bus.registerService("org.freedesktop.login1")) {
        qCritical("usage: fake_login1 ADDRESS LOG, with a bus at ADDRESS and LOG writable");
        return 1;
    }
    int held = -1;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        int now = 0;
        for (const QDBusUnixFileDescriptor& end : login1.readEnds) {
            pollfd p{end.fileDescriptor(), POLLIN, 0};
            now += ::poll(&p, 1, 0) == 0 ? 1 : 0;  // no end of file: a write end is still open
        }
        if (now != held) {
            held = now;
            log.write("held " + QByteArray::number(held) + '\n');
            log.flush();
        }
    });
    poll.start(20);
    return QCoreApplication::exec();
}

#include "fake_login1.moc"

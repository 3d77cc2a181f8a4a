// A stand-in for systemd-logind's manager on a bus of the test's own: it records each request for
// an inhibitor lock and hands the lock out as the write end of a pipe, keeping the read end, so a
// lock is held for as long as some process keeps a write end open.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusError>
#include <QDBusUnixFileDescriptor>
#include <QObject>
#include <QStringList>
#include <vector>

namespace testing_support {

class FakeLogin1 : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Manager")

  public:
    ~FakeLogin1() override {
        bus_.unregisterService(QStringLiteral("org.freedesktop.login1"));
        for (const int fd : readEnds_) {
            ::close(fd);
        }
    }

    // Takes logind's name and object path on `bus`, until it goes.
    bool serveOn(QDBusConnection bus) {
        bus_ = bus;
        return bus.registerObject(QStringLiteral("/org/freedesktop/login1"), this,
                                  QDBusConnection::ExportAllSlots) &&
               bus.registerService(QStringLiteral("org.freedesktop.login1"));
    }

    int locksHeld() const {
        int held = 0;
        for (const int fd : readEnds_) {
            pollfd p{fd, POLLIN, 0};
            held += ::poll(&p, 1, 0) == 0 ? 1 : 0;  // no end of file: a write end is still open
        }
        return held;
    }

    std::vector<QStringList> calls;
    bool refuse = false;

  public slots:
    QDBusUnixFileDescriptor Inhibit(const QString& what, const QString& who, const QString& why,
                                    const QString& mode) {
        calls.push_back({what, who, why, mode});
        int ends[2];
        if (refuse || ::pipe2(ends, O_CLOEXEC) != 0) {
            sendErrorReply(QDBusError::AccessDenied, QStringLiteral("not allowed"));
            return {};
        }
        readEnds_.push_back(ends[0]);
        QDBusUnixFileDescriptor lock(ends[1]);  // a copy of its own
        ::close(ends[1]);
        return lock;
    }

  private:
    QDBusConnection bus_{QString()};
    std::vector<int> readEnds_;
};

}  // namespace testing_support

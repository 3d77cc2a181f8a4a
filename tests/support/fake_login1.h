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
#include <QDBusMessage>
#include <QDBusUnixFileDescriptor>
#include <QObject>
#include <QStringList>
#include <optional>
#include <vector>

namespace testing_support {

class FakeLogin1 : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Manager")

  public:
    static constexpr const char* kService = "org.freedesktop.login1";
    static constexpr const char* kPath = "/org/freedesktop/login1";

    ~FakeLogin1() override {
        for (const int fd : readEnds_) {
            ::close(fd);
        }
    }

    int locksHeld() const {
        int held = 0;
        for (const int fd : readEnds_) {
            pollfd p{fd, POLLIN, 0};
            held += ::poll(&p, 1, 0) == 0 ? 1 : 0;
        }
        return held;
    }

    // Takes logind's name and object path on `bus`.
    bool serveOn(QDBusConnection bus) {
        return bus.registerObject(kPath, this, QDBusConnection::ExportAllSlots) &&
               bus.registerService(kService);
    }

    // Sends the answer kept back by `answerLater`; false when there is none.
    bool answerNow() {
        if (!lateCall_) {
            return false;
        }
        lateCall_->connection.send(lateCall_->message.createReply(QVariant::fromValue(newLock())));
        lateCall_.reset();
        return true;
    }

    std::vector<QStringList> calls;
    bool refuse = false;
    bool answerLater = false;

  public slots:
    QDBusUnixFileDescriptor Inhibit(const QString& what, const QString& who, const QString& why,
                                    const QString& mode) {
        calls.push_back({what, who, why, mode});
        if (refuse) {
            sendErrorReply(QDBusError::AccessDenied, QStringLiteral("not allowed"));
            return {};
        }
        if (answerLater) {
            setDelayedReply(true);
            lateCall_ = LateCall{connection(), message()};
            return {};
        }
        return newLock();
    }

  private:
    QDBusUnixFileDescriptor newLock() {
        int ends[2];
        if (::pipe2(ends, O_CLOEXEC) != 0) {
            return {};
        }
        readEnds_.push_back(ends[0]);
        QDBusUnixFileDescriptor lock(ends[1]);  // a copy of its own
        ::close(ends[1]);
        return lock;
    }

    struct LateCall {
        QDBusConnection connection;
        QDBusMessage message;
    };
    std::optional<LateCall> lateCall_;
    std::vector<int> readEnds_;
};

}  // namespace testing_support

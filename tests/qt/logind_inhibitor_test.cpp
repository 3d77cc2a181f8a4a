// The logind inhibitor lock against a small stand-in for systemd-logind on a private session bus
// (the test runs under dbus-run-session), so the real machine's power management is never asked.
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusUnixFileDescriptor>
#include <QRegularExpression>
#include <QtTest>
#include <optional>
#include <vector>

#include "power/logind_inhibitor.h"

namespace {

const QString kService = QStringLiteral("org.freedesktop.login1");
const QString kPath = QStringLiteral("/org/freedesktop/login1");
const QString kWho = QStringLiteral("Vorlix定时关机软件");

// Hands out each lock as the write end of a pipe and keeps the read end: a lock is held for as
// long as some process keeps a write end open.
class FakeLogin1 : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Manager")

  public:
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

    // Sends the answer kept back by `answerLater`.
    void answerNow() {
        QVERIFY(lateCall_.has_value());
        lateCall_->connection.send(lateCall_->message.createReply(QVariant::fromValue(newLock())));
        lateCall_.reset();
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

// Lets the bus deliver whatever is on its way.
void settle() {
    QTest::qWait(200);
}

}  // namespace

class LogindInhibitorTest : public QObject {
    Q_OBJECT

  private:
    QDBusConnection serviceBus_{QString()};
    FakeLogin1* fake_ = nullptr;

    void startService() {
        QVERIFY(serviceBus_.registerObject(kPath, fake_, QDBusConnection::ExportAllSlots));
        QVERIFY(serviceBus_.registerService(kService));
    }

  private slots:
    void initTestCase() {
        QVERIFY2(qEnvironmentVariableIsSet("DBUS_SESSION_BUS_ADDRESS"),
                 "run under dbus-run-session");
        QVERIFY(QDBusConnection::sessionBus().isConnected());
        QVERIFY(QDBusConnection::sessionBus().connectionCapabilities() &
                QDBusConnection::UnixFileDescriptorPassing);
    }

    // A connection of the service's own, so that each lock really crosses the bus.
    void init() {
        serviceBus_ = QDBusConnection::connectToBus(QDBusConnection::SessionBus,
                                                    QStringLiteral("fake-login1"));
        fake_ = new FakeLogin1;
    }

    void cleanup() {
        serviceBus_.unregisterService(kService);
        serviceBus_.unregisterObject(kPath);
        QDBusConnection::disconnectFromBus(QStringLiteral("fake-login1"));
        delete fake_;
        settle();
    }

    void takesOneSleepLockAndReleasesItByClosing() {
        startService();
        {
            power::LogindInhibitor inhibitor(QDBusConnection::sessionBus(), kWho);
            inhibitor.hold();
            inhibitor.hold();
            QTRY_COMPARE(fake_->locksHeld(), 1);
            settle();
            QCOMPARE(fake_->calls.size(), std::size_t{1});
            QCOMPARE(fake_->calls.front(),
                     (QStringList{"sleep:idle", kWho, QStringLiteral("定时关机执行中"), "block"}));

            inhibitor.release();
            QTRY_COMPARE(fake_->locksHeld(), 0);
            inhibitor.release();

            inhibitor.hold();
            QTRY_COMPARE(fake_->locksHeld(), 1);
            QCOMPARE(fake_->calls.size(), std::size_t{2});
        }
        QTRY_COMPARE(fake_->locksHeld(), 0);
    }

    // The answer may come after the schedule was reset, or reset and armed again.
    void keepsALateLockOnlyWhenStillWanted() {
        startService();
        fake_->answerLater = true;
        power::LogindInhibitor inhibitor(QDBusConnection::sessionBus(), kWho);

        inhibitor.hold();
        QTRY_COMPARE(fake_->calls.size(), std::size_t{1});
        inhibitor.release();
        fake_->answerNow();
        settle();
        QCOMPARE(fake_->locksHeld(), 0);

        inhibitor.hold();
        QTRY_COMPARE(fake_->calls.size(), std::size_t{2});
        inhibitor.release();
        inhibitor.hold();
        fake_->answerNow();
        QTRY_COMPARE(fake_->locksHeld(), 1);
        settle();
        QCOMPARE(fake_->calls.size(), std::size_t{2});
    }

    // No logind on the bus, a refusal, or no bus at all: arming goes on, and nothing is said.
    void withoutALockNothingGoesWrong() {
        QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
        {
            power::LogindInhibitor inhibitor(QDBusConnection::sessionBus(), kWho);
            inhibitor.hold();
            settle();
            inhibitor.release();
        }

        startService();
        fake_->refuse = true;
        power::LogindInhibitor refused(QDBusConnection::sessionBus(), kWho);
        refused.hold();
        QTRY_COMPARE(fake_->calls.size(), std::size_t{1});
        settle();
        QCOMPARE(fake_->locksHeld(), 0);

        power::LogindInhibitor noBus(QDBusConnection(QStringLiteral("no such connection")), kWho);
        noBus.hold();
        noBus.release();
    }
};

QTEST_GUILESS_MAIN(LogindInhibitorTest)
#include "logind_inhibitor_test.moc"

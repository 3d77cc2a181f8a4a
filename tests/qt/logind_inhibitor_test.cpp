// The logind inhibitor lock against a small stand-in for systemd-logind on a private session bus
// (the test runs under dbus-run-session), so the real machine's power management is never asked.
#include <QDBusConnection>
#include <QRegularExpression>
#include <QtTest>

#include "fake_login1.h"
#include "power/logind_inhibitor.h"

namespace {

using testing_support::FakeLogin1;

const QString kWho = QStringLiteral("Vorlix定时关机软件");

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

    void startService() { QVERIFY(fake_->serveOn(serviceBus_)); }

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
        serviceBus_.unregisterService(FakeLogin1::kService);
        serviceBus_.unregisterObject(FakeLogin1::kPath);
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
        QVERIFY(fake_->answerNow());
        settle();
        QCOMPARE(fake_->locksHeld(), 0);

        inhibitor.hold();
        QTRY_COMPARE(fake_->calls.size(), std::size_t{2});
        inhibitor.release();
        inhibitor.hold();
        QVERIFY(fake_->answerNow());
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

// The logind inhibitor lock against a stand-in for systemd-logind on a private session bus (the
// test runs under dbus-run-session), so the machine's own power management is never asked.
#include <QRegularExpression>
#include <QtTest>
#include <memory>

#include "fake_login1.h"
#include "power/logind_inhibitor.h"

class LogindInhibitorTest : public QObject {
    Q_OBJECT

    const QString who_ = QStringLiteral("Vorlix定时关机软件");
    std::unique_ptr<testing_support::FakeLogin1> fake_;

    // Lets the bus deliver whatever is on its way.
    static void settle() { QTest::qWait(200); }

  private slots:
    // The stand-in answers on a connection of its own, so that each lock really crosses the bus.
    void init() {
        QVERIFY2(qEnvironmentVariableIsSet("DBUS_SESSION_BUS_ADDRESS"),
                 "run under dbus-run-session");
        fake_ = std::make_unique<testing_support::FakeLogin1>();
        QVERIFY(fake_->serveOn(
            QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("login1"))));
    }
    void cleanup() {
        fake_.reset();
        QDBusConnection::disconnectFromBus(QStringLiteral("login1"));
        settle();
    }

    void holdsOneLockUntilReleasedOrGone() {
        {
            power::LogindInhibitor inhibitor(QDBusConnection::sessionBus(), who_);
            inhibitor.hold();
            inhibitor.hold();
            QTRY_COMPARE(fake_->locksHeld(), 1);
            inhibitor.release();  // by closing the lock's descriptor
            QTRY_COMPARE(fake_->locksHeld(), 0);
            inhibitor.hold();
            QTRY_COMPARE(fake_->locksHeld(), 1);
        }
        QTRY_COMPARE(fake_->locksHeld(), 0);
        const QStringList asked{"sleep:idle", who_, "定时关机执行中", "block"};
        QCOMPARE(fake_->calls, (std::vector<QStringList>{asked, asked}));
    }

    // The answer comes after the schedule was reset, or reset and armed again.
    void keepsALateLockOnlyWhenStillWanted() {
        power::LogindInhibitor inhibitor(QDBusConnection::sessionBus(), who_);
        inhibitor.hold();
        inhibitor.release();
        settle();
        QCOMPARE(fake_->locksHeld(), 0);
        inhibitor.hold();
        inhibitor.release();
        inhibitor.hold();
        QTRY_COMPARE(fake_->locksHeld(), 1);
        settle();
        QCOMPARE(fake_->calls.size(), 2u);
    }

    // A refusal, no logind on the bus, or no bus at all: arming goes on, and nothing is said.
    void withoutALockNothingGoesWrong() {
        QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
        fake_->refuse = true;
        power::LogindInhibitor refused(QDBusConnection::sessionBus(), who_);
        refused.hold();
        QTRY_COMPARE(fake_->calls.size(), 1u);
        fake_.reset();
        power::LogindInhibitor noService(QDBusConnection::sessionBus(), who_);
        noService.hold();
        power::LogindInhibitor noBus(QDBusConnection(QStringLiteral("no such connection")), who_);
        noBus.hold();
        settle();
        noService.release();
        noBus.release();
    }
};

QTEST_GUILESS_MAIN(LogindInhibitorTest)
#include "logind_inhibitor_test.moc"

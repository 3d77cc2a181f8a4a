// The logind lock against fake_login1 on the private session bus of dbus-run-session, so that the
// machine's own power management is never asked.
#include <QtTest>

#include "power/logind_inhibitor.h"

class LogindInhibitorTest : public QObject {
    Q_OBJECT

  private slots:
    // One lock at most, held only while wanted; a refusal leaves it unlocked and says nothing.
    void holdsOneLockOnlyWhileWanted() {
        QTest::failOnWarning(QRegularExpression(".*"));
        QProcess fake;
        fake.start(qEnvironmentVariable("FAKE_LOGIN1"),
                   {qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS"), "/dev/stdout"});
        auto held = [&, out = QByteArray()]() mutable {
            return (out += fake.readAllStandardOutput()).trimmed().split('\n').last();
        };
        QTRY_COMPARE(held(), "held 0");
        power::LogindInhibitor refused(QDBusConnection::sessionBus(), "refuse");
        refused.hold();
        power::LogindInhibitor inhibitor(QDBusConnection::sessionBus(), "Vorlix");
        inhibitor.hold();
        inhibitor.hold();
        QTRY_COMPARE(held(), "held 1");
        inhibitor.release();
        QTRY_COMPARE(held(), "held 0");
        inhibitor.hold();  // answered once no longer wanted
        inhibitor.release();
        QTest::qWait(200);
        QCOMPARE(held(), "held 0");
        QCOMPARE(fake.readAllStandardError(),
                 "sleep:idle|refuse|定时关机执行中|block\n" +
                     QByteArray("sleep:idle|Vorlix|定时关机执行中|block\n").repeated(2));
        fake.close();
    }
};

QTEST_GUILESS_MAIN(LogindInhibitorTest)
#include "logind_inhibitor_test.moc"

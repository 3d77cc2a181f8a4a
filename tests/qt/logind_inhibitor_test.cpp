// The logind lock against fake_login1 on a private session bus (the test runs under
// dbus-run-session), so the machine's own power management is never asked.
#include <QtTest>

#include "power/logind_inhibitor.h"

class LogindInhibitorTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QProcess fake_;

    QByteArray log() {
        QFile file(dir_.filePath(QTest::currentTestFunction()));
        return file.open(QIODevice::ReadOnly) ? file.readAll().trimmed().split('\n').last() : "";
    }

  private slots:
    void init() {
        fake_.setProcessChannelMode(QProcess::MergedChannels);
        fake_.start(qEnvironmentVariable("FAKE_LOGIN1"),
                    {qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS"),
                     dir_.filePath(QTest::currentTestFunction())});
        QTRY_COMPARE(log(), "held 0");
    }
    void cleanup() {
        fake_.kill();
        fake_.waitForFinished();
    }

    void holdsOneLockOnlyWhileWanted() {
        auto inhibitor = std::make_unique<power::LogindInhibitor>(QDBusConnection::sessionBus(),
                                                                  "Vorlix定时关机软件");
        inhibitor->hold();
        inhibitor->hold();
        QTRY_COMPARE(log(), "held 1");
        inhibitor->release();
        QTRY_COMPARE(log(), "held 0");
        inhibitor->hold();  // answered once no longer wanted
        inhibitor->release();
        QTest::qWait(200);
        QCOMPARE(log(), "held 0");
        inhibitor->hold();
        QTRY_COMPARE(log(), "held 1");
        inhibitor.reset();  // and when it goes
        QTRY_COMPARE(log(), "held 0");
        QCOMPARE(fake_.readAll(),
                 QByteArray("sleep:idle|Vorlix定时关机软件|定时关机执行中|block\n").repeated(3));
    }

    // A refusal, no logind on the bus, or no bus at all: arming goes on, and nothing is said.
    void withoutALockNothingIsSaid() {
        QTest::failOnWarning(QRegularExpression(".*"));
        power::LogindInhibitor refused(QDBusConnection::sessionBus(), "refuse");
        refused.hold();
        QVERIFY(fake_.waitForReadyRead(5000));
        cleanup();
        power::LogindInhibitor noService(QDBusConnection::sessionBus(), "Vorlix");
        power::LogindInhibitor noBus(QDBusConnection("none"), "Vorlix");
        for (power::LogindInhibitor* inhibitor : {&refused, &noService, &noBus}) {
            inhibitor->hold();
            QTest::qWait(200);
            inhibitor->release();
        }
    }
};

QTEST_GUILESS_MAIN(LogindInhibitorTest)
#include "logind_inhibitor_test.moc"

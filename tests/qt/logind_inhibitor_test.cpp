// The logind lock against fake_login1 on a private session bus (the test runs under
// dbus-run-session), so the machine's own power management is never asked.
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include "power/logind_inhibitor.h"

class LogindInhibitorTest : public QObject {
    Q_OBJECT

    const QString who_ = QStringLiteral("Vorlix定时关机软件");
    QTemporaryDir dir_;
    QProcess fake_;

    int held() const {
        QFile log(dir_.filePath("log"));
        const QByteArray last = log.open(QIODevice::ReadOnly) ? log.readAll().trimmed() : "";
        return last.isEmpty() ? -1 : last.split(' ').last().toInt();
    }

  private slots:
    void init() {
        QFile::remove(dir_.filePath("log"));
        fake_.start(qEnvironmentVariable("FAKE_LOGIN1"),
                    {qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS"), dir_.filePath("log")});
        QTRY_COMPARE(held(), 0);
    }
    void cleanup() {
        fake_.kill();
        fake_.waitForFinished();
        qunsetenv("FAKE_LOGIN1_REFUSE");
    }

    void holdsOneLockOnlyWhileWanted() {
        {
            power::LogindInhibitor inhibitor(QDBusConnection::sessionBus(), who_);
            inhibitor.hold();
            inhibitor.hold();
            QTRY_COMPARE(held(), 1);
            inhibitor.hold();
            inhibitor.release();
            QTRY_COMPARE(held(), 0);
            inhibitor.hold();  // answered once no longer wanted
            inhibitor.release();
            QTest::qWait(200);
            QCOMPARE(held(), 0);
            inhibitor.hold();  // answered once wanted again
            inhibitor.release();
            inhibitor.hold();
            QTRY_COMPARE(held(), 1);
        }
        QTRY_COMPARE(held(), 0);
        QCOMPARE(fake_.readAllStandardOutput(),
                 QString("sleep:idle|" + who_ + "|定时关机执行中|block\n").repeated(3).toUtf8());
    }

    // A refusal, no logind on the bus, or no bus at all: arming goes on, and nothing is said.
    void withoutALockNothingIsSaid() {
        QTest::failOnWarning(QRegularExpression(".*"));
        cleanup();
        qputenv("FAKE_LOGIN1_REFUSE", "1");
        init();
        power::LogindInhibitor refused(QDBusConnection::sessionBus(), who_);
        refused.hold();
        QVERIFY(fake_.waitForReadyRead(5000));
        cleanup();
        power::LogindInhibitor noService(QDBusConnection::sessionBus(), who_);
        power::LogindInhibitor noBus(QDBusConnection(QStringLiteral("no such connection")), who_);
        for (power::LogindInhibitor* inhibitor : {&refused, &noService, &noBus}) {
            inhibitor->hold();
            QTest::qWait(200);
            inhibitor->release();
        }
    }
};

QTEST_GUILESS_MAIN(LogindInhibitorTest)
#include "logind_inhibitor_test.moc"

// Linux: an inhibitor lock of systemd-logind keeps the computer from sleeping or idling to sleep
// for as long as the program keeps the lock's file descriptor open.
#pragma once

#include <QDBusConnection>
#include <QDBusUnixFileDescriptor>
#include <QString>
#include <memory>

#include "power/keep_awake.h"

class QDBusPendingCallWatcher;

namespace power {

class LogindInhibitor final : public KeepAwake {
  public:
    // `bus` is where logind is asked (the system bus; a private one in tests); `who` names the
    // program in the system's list of locks.
    LogindInhibitor(QDBusConnection bus, QString who);
    ~LogindInhibitor() override;
    LogindInhibitor(const LogindInhibitor&) = delete;
    LogindInhibitor& operator=(const LogindInhibitor&) = delete;

    // Asks without waiting, so that a slow or missing logind never holds up the window's clock;
    // the lock is taken when the answer comes, if it is still wanted then.
    void hold() override;
    void release() override;

  private:
    void answered(QDBusPendingCallWatcher& call);

    QDBusConnection bus_;
    QString who_;
    bool wanted_ = false;
    // Our own copy of the lock's descriptor: dropping it is what releases the lock, whenever Qt
    // lets go of the message that carried it.
    QDBusUnixFileDescriptor lock_;
    std::unique_ptr<QDBusPendingCallWatcher> request_;
};

}  // namespace power

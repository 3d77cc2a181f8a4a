#include "power/logind_inhibitor.h"

#include <fcntl.h>

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <utility>

namespace power {

LogindInhibitor::LogindInhibitor(QDBusConnection bus, QString who)
    : bus_(std::move(bus)), who_(std::move(who)) {}

LogindInhibitor::~LogindInhibitor() = default;

void LogindInhibitor::hold() {
    wanted_ = true;
    // No bus at all (a container, a session without systemd): the schedule runs without a lock.
    if (lock_.isValid() || request_ || !bus_.isConnected()) {
        return;
    }
    QDBusMessage inhibit = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
        QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("Inhibit"));
    inhibit << QStringLiteral("sleep:idle") << who_ << QStringLiteral("定时关机执行中")
            << QStringLiteral("block");
    request_ = std::make_unique<QDBusPendingCallWatcher>(bus_.asyncCall(inhibit));
    QObject::connect(request_.get(), &QDBusPendingCallWatcher::finished, request_.get(),
                     [this](QDBusPendingCallWatcher* call) { answered(*call); });
}

void LogindInhibitor::release() {
    wanted_ = false;
    lock_ = QDBusUnixFileDescriptor();
}

void LogindInhibitor::answered(QDBusPendingCallWatcher& call) {
    // The watcher goes once this returns: it is the sender of the signal being handled.
    request_.release()->deleteLater();
    const QDBusPendingReply<QDBusUnixFileDescriptor> reply = call;
    // An error answer (no logind on this bus, the lock refused) leaves the schedule without a lock.
    if (!wanted_ || reply.isError() || !reply.value().isValid()) {
        return;
    }
    lock_.giveFileDescriptor(::fcntl(reply.value().fileDescriptor(), F_DUPFD_CLOEXEC, 0));
}

}  // namespace power

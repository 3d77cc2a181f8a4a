#include "toolkits/qt/qt_application.h"

#include <QApplication>
#include <QCoreApplication>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QSystemTrayIcon>
#include <QTranslator>

#include "toolkits/qt/form_window.h"
#include "toolkits/qt/tray_icon.h"

namespace qtforms {

QtApplication::QtApplication() : translator_(std::make_unique<QTranslator>()) {
    // The program ends with its last window, as on Windows (see dispose): a window hidden in the
    // notification area is not closed, and closing the warning then must not end the program.
    QApplication::setQuitOnLastWindowClosed(false);
    // Chinese captions for the standard buttons of the message boxes ("确定").
    if (translator_->load(QStringLiteral("qtbase_zh_CN"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(translator_.get());
    }
    // The Song faces the tables name carry their Windows names, under which nothing is installed
    // here; this is the closest face with a real bold.
    for (const char* face : {"宋体", "新宋体"}) {
        QFont::insertSubstitution(QString::fromUtf8(face), QStringLiteral("Noto Serif CJK SC"));
    }
}

QtApplication::~QtApplication() {
    destroyAll();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QWidget* QtApplication::window(std::string_view form) const {
    return dynamic_cast<FormWindow*>(find(form));
}

QSystemTrayIcon* QtApplication::notificationIcon(std::string_view form) const {
    auto* icon = dynamic_cast<TrayIcon*>(find(form));
    return icon != nullptr ? &icon->icon() : nullptr;
}

std::unique_ptr<forms::HostedWindow> QtApplication::makeWindow(const std::string& /*name*/,
                                                               const forms::FormTable& table) {
    if (table.inNotificationArea) {
        return std::make_unique<TrayIcon>(table, *this);
    }
    return std::make_unique<FormWindow>(table, *this);
}

void QtApplication::showBox(std::string_view text, std::string_view title,
                            forms::MessageIcon icon) {
    QMessageBox::Icon shown = QMessageBox::NoIcon;
    if (icon == forms::MessageIcon::Information) {
        shown = QMessageBox::Information;
    } else if (icon == forms::MessageIcon::Error) {
        shown = QMessageBox::Critical;
    }
    QMessageBox box(shown, qstr(title),
                    qstr(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")),
                    QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText);
    // Closing the box must not end the program while no window of it happens to be visible.
    box.setAttribute(Qt::WA_QuitOnClose, false);
    box.exec();
}

void QtApplication::quit() {
    QCoreApplication::exit(0);
}

bool QtApplication::hasNotificationArea() const {
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void QtApplication::dispose(std::vector<std::unique_ptr<forms::HostedWindow>> windows) {
    // A retired window may be the sender of the event being delivered right now.
    for (std::unique_ptr<forms::HostedWindow>& window : windows) {
        dynamic_cast<QObject*>(window.release())->deleteLater();
    }
    // The program ends with its last window, however that window went.
    if (this->windows().empty() && !ended()) {
        QCoreApplication::exit(0);
    }
}

}  // namespace qtforms

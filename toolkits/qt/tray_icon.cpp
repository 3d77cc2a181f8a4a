#include "toolkits/qt/tray_icon.h"

#include <QApplication>

#include "toolkits/qt/form_window.h"

namespace qtforms {

TrayIcon::TrayIcon(const forms::FormTable& table, forms::WindowEvents& events)
    : events_(&events), form_(table, *this) {
    std::string tooltip;
    for (const Control& c : table.controls) {
        if (c.kind == forms::Kind::Label) {
            tooltip = c.name;
        } else if (c.kind == forms::Kind::PushButton) {
            QAction* item = menu_.addAction(qstr(c.text));
            item->setEnabled(c.enabled);
            connect(item, &QAction::triggered, this, [this, &c] { clicked(c.name); });
            items_.emplace(c.name, item);
        }
    }
    // The program's own icon, which Qt scales to the size the notification area asks for.
    icon_.setIcon(QApplication::windowIcon());
    icon_.setContextMenu(&menu_);
    connect(&icon_, &QSystemTrayIcon::activated, this,
            [this, tooltip](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick) {
                    clicked(tooltip);
                }
            });
}

void TrayIcon::retire() {
    events_ = nullptr;
    icon_.hide();
}

std::string TrayIcon::text(const Control& c) const {
    auto item = items_.find(c.name);
    return (item != items_.end() ? item->second->text() : icon_.toolTip()).toStdString();
}

void TrayIcon::setText(const Control& c, std::string_view text) {
    auto item = items_.find(c.name);
    if (item != items_.end()) {
        item->second->setText(qstr(text));
    } else {
        icon_.setToolTip(qstr(text));
    }
}

bool TrayIcon::enabled(const Control& c) const {
    auto item = items_.find(c.name);
    return item == items_.end() || item->second->isEnabled();
}

void TrayIcon::setEnabled(const Control& c, bool on) {
    auto item = items_.find(c.name);
    if (item != items_.end()) {
        item->second->setEnabled(on);
    }
}

void TrayIcon::clicked(const std::string& control) {
    if (events_ != nullptr) {
        events_->clicked(*this, control);
    }
}

}  // namespace qtforms

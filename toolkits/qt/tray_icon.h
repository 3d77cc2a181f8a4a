// An icon in the notification area built from a control table: its label is the tooltip, its push
// buttons the items of its menu. Qt offers it over both StatusNotifierItem and XEmbed.
#pragma once

#include <QMenu>
#include <QSystemTrayIcon>
#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "forms/control_form.h"
#include "forms/window_host.h"

namespace qtforms {

class TrayIcon final : public QObject, public forms::HostedWindow, private forms::MenuView {
  public:
    TrayIcon(const forms::FormTable& table, forms::WindowEvents& events);

    QSystemTrayIcon& icon() { return icon_; }
    forms::Form& form() override { return form_; }
    void scheduleTick(std::optional<std::chrono::milliseconds>) override {}
    void present() override { icon_.show(); }
    void bringForward() override {}
    void withdraw() override {}
    void retire() override;

  private:
    using Control = forms::Control;
    std::string text(const Control& c) const override;
    void setText(const Control& c, std::string_view text) override;
    bool enabled(const Control& c) const override;
    void setEnabled(const Control& c, bool on) override;

    void clicked(const std::string& control);

    forms::WindowEvents* events_;  // none once retired
    QMenu menu_;
    std::map<std::string, QAction*, std::less<>> items_;
    QSystemTrayIcon icon_;
    forms::ControlForm form_;
};

}  // namespace qtforms

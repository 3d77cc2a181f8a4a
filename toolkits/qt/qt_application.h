// The program's windows on Qt Widgets: each built from its control table when it is shown, its
// clicks and timer wake-ups passed to its handlers one at a time.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "forms/window_host.h"

class QSystemTrayIcon;
class QTranslator;
class QWidget;

namespace qtforms {

// Needs a QApplication that outlives it.
class QtApplication final : public forms::WindowHost {
  public:
    QtApplication();
    ~QtApplication() override;

    // The loaded window of that name, or nullptr; and the same for an icon in the notification
    // area.
    QWidget* window(std::string_view form) const;
    QSystemTrayIcon* notificationIcon(std::string_view form) const;

  private:
    std::unique_ptr<forms::HostedWindow> makeWindow(const std::string& name,
                                                    const forms::FormTable& table) override;
    void showBox(std::string_view text, std::string_view title, forms::MessageIcon icon) override;
    void quit() override;
    bool hasNotificationArea() const override;
    void dispose(std::vector<std::unique_ptr<forms::HostedWindow>> windows) override;

    std::unique_ptr<QTranslator> translator_;
};

}  // namespace qtforms

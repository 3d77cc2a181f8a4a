// The program's icon in the notification area: its tooltip says what the status line says, a
// click shows the main window, and its menu reaches the main window as the warning's buttons do.
#pragma once

#include <string_view>

#include "common/window_names.h"
#include "forms/form.h"
#include "warning/Form3.h"

namespace trayicon {

const forms::FormTable& TrayIconTable();

inline constexpr std::string_view kTooltip = "Label1";
inline constexpr std::string_view kShowItem = "Command1";      // "显示主窗口"
inline constexpr std::string_view kRunNowItem = "Command2";    // "立即执行"
inline constexpr std::string_view kPostponeItem = "Command3";  // "推迟10分钟"
inline constexpr std::string_view kResetItem = "Command4";     // "重置"
inline constexpr std::string_view kExitItem = "Command5";      // "退出"

class TrayIcon final : public forms::Handlers {
  public:
    TrayIcon(forms::Application& app, warning::Link& link) : app_(app), link_(link) {}

    void click(std::string_view control) override;

  private:
    forms::Application& app_;
    warning::Link& link_;
};

forms::FormDefinition TrayIconDefinition(warning::Link& link);

}  // namespace trayicon

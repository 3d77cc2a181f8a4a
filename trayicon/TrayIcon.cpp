#include "trayicon/TrayIcon.h"

namespace trayicon {

const forms::FormTable& TrayIconTable() {
    using forms::Kind;
    // The main window keeps the tooltip and the items' switches current.
    static const forms::FormTable table{
        .name = std::string(windows::kTrayIcon),
        .caption = "Vorlix定时关机软件",
        .controls =
            {
                {.name = "Label1", .kind = Kind::Label},
                {.name = "Command1", .kind = Kind::PushButton, .text = "显示主窗口"},
                {.name = "Command2",
                 .kind = Kind::PushButton,
                 .text = "立即执行",
                 .enabled = false},
                {.name = "Command3",
                 .kind = Kind::PushButton,
                 .text = "推迟10分钟",
                 .enabled = false},
                {.name = "Command4", .kind = Kind::PushButton, .text = "重置", .enabled = false},
                {.name = "Command5", .kind = Kind::PushButton, .text = "退出"},
            },
        .belongsTo = std::string(windows::kMainWindow),
        .inNotificationArea = true};
    return table;
}

void TrayIcon::click(std::string_view control) {
    warning::Answers* mainWindow = link_.mainWindow;
    if (control == kTooltip || control == kShowItem) {
        app_.show(windows::kMainWindow);
    } else if (control == kExitItem) {
        app_.end();
    } else if (mainWindow == nullptr) {
        return;
    } else if (control == kRunNowItem) {
        mainWindow->runNow();
    } else if (control == kPostponeItem) {
        mainWindow->postpone();
    } else if (control == kResetItem) {
        mainWindow->cancel();
    }
}

forms::FormDefinition TrayIconDefinition(warning::Link& link) {
    return {&TrayIconTable(), [&link](forms::Form&, forms::Application& app) {
                return std::make_unique<TrayIcon>(app, link);
            }};
}

}  // namespace trayicon

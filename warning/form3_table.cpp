// The last-minute warning: one line of text over three buttons.
#include "warning/Form3.h"

namespace warning {

namespace {

using forms::Kind;
using namespace forms::palette;

}  // namespace

const forms::FormTable& Form3Table() {
    static const forms::FormTable table{
        .name = std::string(windows::kWarning),
        .caption = "定时关机提醒",
        .clientWidth = 5400,
        .clientHeight = 1440,
        .controls =
            {
                // The main window writes the time left here, once a second.
                {.name = "Label1",
                 .kind = Kind::Label,
                 .text = "请保存您的工作。",
                 .rect = {240, 240, 4920, 375},
                 .foreColour = kRed,
                 .tabIndex = 3,
                 .align = forms::Align::Centre},
                {.name = "Command1",
                 .kind = Kind::PushButton,
                 .text = "立即执行",
                 .rect = {645, 840, 1215, 375},
                 .tabIndex = 0},
                {.name = "Command3",
                 .kind = Kind::PushButton,
                 .text = "推迟10分钟",
                 .rect = {2100, 840, 1215, 375},
                 .tabIndex = 1},
                {.name = "Command2",
                 .kind = Kind::PushButton,
                 .text = "取消",
                 .rect = {3555, 840, 1215, 375},
                 .tabIndex = 2},
            },
        .topMost = true,
        .showWithoutActivating = true,
        .belongsTo = std::string(windows::kMainWindow)};
    return table;
}

}  // namespace warning

// The year-range dialog as the form designer laid it out.
#include "yeardialog/Form2.h"

namespace yeardialog {

namespace {

using forms::Kind;
using namespace forms::palette;

const forms::Font kSong10{"宋体", 10.5, false};

}  // namespace

const forms::FormTable& Form2Table() {
    static const forms::FormTable table{
        .name = std::string(windows::kYearDialog),
        .caption = "参数设置",
        .clientWidth = 4200,
        .clientHeight = 2325,
        .controls =
            {
                {.name = "Frame1",
                 .kind = Kind::Frame,
                 .text = "年份设置：",
                 .rect = {120, 120, 3975, 735},
                 .foreColour = kBlue,
                 .tabIndex = 0},
                // The start and end years, green on black.
                {.name = "Text1",
                 .kind = Kind::TextBox,
                 .container = "Frame1",
                 .text = "2000",
                 .rect = {120, 240, 735, 375},
                 .foreColour = kGreen,
                 .backColour = kBlack,
                 .font = kSong10,
                 .tabIndex = 1},
                {.name = "Label1",
                 .kind = Kind::Label,
                 .container = "Frame1",
                 .text = "至",
                 .rect = {960, 360, 255, 255},
                 .tabIndex = 2},
                {.name = "Text2",
                 .kind = Kind::TextBox,
                 .container = "Frame1",
                 .text = "2099",
                 .rect = {1320, 240, 735, 375},
                 .foreColour = kGreen,
                 .backColour = kBlack,
                 .font = kSong10,
                 .tabIndex = 3},
                // OK and Default.
                {.name = "Command1",
                 .kind = Kind::PushButton,
                 .container = "Frame1",
                 .text = "确定",
                 .rect = {2280, 240, 615, 375},
                 .tabIndex = 4},
                {.name = "Command2",
                 .kind = Kind::PushButton,
                 .container = "Frame1",
                 .text = "默认",
                 .rect = {3120, 240, 615, 375},
                 .tabIndex = 5},
                // The blank label shares the notice's place; it comes first so that the notice,
                // drawn after it, stays readable.
                {.name = "Label3",
                 .kind = Kind::Label,
                 .text = " ",
                 .rect = {240, 1440, 3855, 735},
                 .foreColour = kBrown,
                 .tabIndex = 7},
                {.name = "Label2",
                 .kind = Kind::Label,
                 .text = "后续更多精彩功能，各位朋友敬请期待……",
                 .rect = {240, 1440, 3735, 255},
                 .foreColour = kMagenta,
                 .tabIndex = 6},
            },
        // A dialog with an OK button and no Cancel: Enter stores what was typed, Escape closes it.
        .defaultButton = "Command1",
        .escapeCloses = true};
    return table;
}

}  // namespace yeardialog

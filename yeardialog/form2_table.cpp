#include "yeardialog/Form2.h"

namespace yeardialog {

namespace {

using forms::Control;
using forms::Font;
using forms::Kind;

constexpr forms::Rgb kGreen{0, 255, 0};
constexpr forms::Rgb kBlack{0, 0, 0};
const Font kSong10{"宋体", 10.5, false};

forms::FormTable makeTable() {
    forms::FormTable t{"Form2", "参数设置", 4200, 2325, {}};
    // A dialog with an OK button and no Cancel: Enter stores what was typed, Escape closes it.
    t.defaultButton = "Command1";
    t.escapeCloses = true;
    auto& c = t.controls;
    c.push_back({"Frame1",
                 Kind::Frame,
                 "",
                 "年份设置：",
                 {120, 120, 3975, 735},
                 forms::Rgb{0, 0, 255},
                 std::nullopt,
                 std::nullopt,
                 0});
    c.push_back({"Text1",
                 Kind::TextBox,
                 "Frame1",
                 "2000",
                 {120, 240, 735, 375},
                 kGreen,
                 kBlack,
                 kSong10,
                 1});
    c.push_back({"Label1",
                 Kind::Label,
                 "Frame1",
                 "至",
                 {960, 360, 255, 255},
                 std::nullopt,
                 std::nullopt,
                 std::nullopt,
                 2});
    c.push_back({"Text2",
                 Kind::TextBox,
                 "Frame1",
                 "2099",
                 {1320, 240, 735, 375},
                 kGreen,
                 kBlack,
                 kSong10,
                 3});
    c.push_back({"Command1",
                 Kind::PushButton,
                 "Frame1",
                 "确定",
                 {2280, 240, 615, 375},
                 std::nullopt,
                 std::nullopt,
                 std::nullopt,
                 4});
    c.push_back({"Command2",
                 Kind::PushButton,
                 "Frame1",
                 "默认",
                 {3120, 240, 615, 375},
                 std::nullopt,
                 std::nullopt,
                 std::nullopt,
                 5});
    // The blank label shares the notice's place; it comes first so that the notice, drawn after
    // it, stays readable.
    c.push_back({"Label3",
                 Kind::Label,
                 "",
                 " ",
                 {240, 1440, 3855, 735},
                 forms::Rgb{192, 64, 0},
                 std::nullopt,
                 std::nullopt,
                 7});
    c.push_back({"Label2",
                 Kind::Label,
                 "",
                 "后续更多精彩功能，各位朋友敬请期待……",
                 {240, 1440, 3735, 255},
                 forms::Rgb{255, 0, 255},
                 std::nullopt,
                 std::nullopt,
                 6});
    return t;
}

}  // namespace

const forms::FormTable& Form2Table() {
    static const forms::FormTable table = makeTable();
    return table;
}

}  // namespace yeardialog

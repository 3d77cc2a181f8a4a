// The main window as the form designer laid it out: read top to bottom like the window itself.
#include "mainwindow/Form1.h"

namespace mainwindow {

namespace {

using forms::Align;
using forms::Control;
using forms::Font;
using forms::FormTable;
using forms::Kind;
using forms::Rgb;

constexpr Rgb kGreen{0, 255, 0};
constexpr Rgb kYellow{255, 255, 0};
constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kBlue{0, 0, 255};
constexpr Rgb kMagenta{255, 0, 255};
constexpr Rgb kOrange{255, 128, 0};
constexpr Rgb kRed{255, 0, 0};

const Font kSong15{"宋体", 15, false};
const Font kSong15Bold{"宋体", 15, true};
const Font kNewSong15Bold{"新宋体", 15, true};

Control clockField(const char* name, const char* text, forms::Rect rect, const Font& font,
                   int tabIndex) {
    return {name, Kind::TextBox, "Frame1", text, rect, kGreen, kBlack, font, tabIndex};
}

Control targetList(const char* name, const char* text, forms::Rect rect, int tabIndex) {
    return {name, Kind::ComboBox, "Frame1", text, rect, kYellow, kBlack, kSong15Bold, tabIndex};
}

Control unitLabel(const char* name, const char* text, forms::Rect rect, int tabIndex) {
    return {name, Kind::Label, "Frame1", text, rect, kBlue, std::nullopt, kSong15, tabIndex};
}

Control button(const char* name, const char* container, const char* caption, forms::Rect rect,
               std::optional<Font> font, int tabIndex) {
    return {name,         Kind::PushButton, container, caption, rect,
            std::nullopt, std::nullopt,     font,      tabIndex};
}

Control option(const char* name, const char* caption, forms::Rect rect, bool selected,
               int tabIndex) {
    Control c{name,     Kind::OptionButton, "Frame2",     caption, rect,
              kMagenta, std::nullopt,       std::nullopt, tabIndex};
    c.selected = selected;
    return c;
}

Control timer(const char* name, bool enabled) {
    Control c{name, Kind::Timer, "", "", {}, std::nullopt, std::nullopt, std::nullopt, -1};
    c.enabled = enabled;
    c.intervalMs = 1000;
    return c;
}

FormTable makeTable() {
    FormTable t{"Form1", "Vorlix定时关机软件2.2", 7320, 4050, {}};
    auto& c = t.controls;

    c.push_back({"Frame1",
                 Kind::Frame,
                 "",
                 "",
                 {120, 120, 7095, 1455},
                 std::nullopt,
                 std::nullopt,
                 std::nullopt,
                 32});
    // Current date and time.
    c.push_back(clockField("Text1", "2014", {120, 240, 855, 420}, kNewSong15Bold, 13));
    c.push_back(unitLabel("Label1", "年", {1200, 285, 375, 450}, 29));
    c.push_back(clockField("Text2", "02", {1560, 240, 495, 420}, kNewSong15Bold, 14));
    c.push_back(unitLabel("Label2", "月", {2280, 285, 375, 375}, 28));
    c.push_back(clockField("Text3", "06", {2640, 240, 495, 420}, kNewSong15Bold, 15));
    c.push_back(unitLabel("Label3", "日", {3360, 285, 375, 375}, 27));
    c.push_back(clockField("Text4", "00", {3720, 240, 495, 420}, kSong15Bold, 16));
    c.push_back(unitLabel("Label4", "时", {4440, 285, 375, 375}, 26));
    c.push_back(clockField("Text5", "14", {4800, 240, 495, 420}, kNewSong15Bold, 17));
    c.push_back(unitLabel("Label5", "分", {5520, 285, 375, 375}, 25));
    c.push_back(clockField("Text6", "18", {5880, 240, 495, 420}, kNewSong15Bold, 18));
    c.push_back(unitLabel("Label6", "秒", {6600, 285, 375, 375}, 24));
    // Target moment.
    c.push_back(targetList("Combo1", "2014", {120, 840, 1095, 420}, 7));
    c.push_back(unitLabel("Label7", "年", {1200, 885, 375, 375}, 0));
    c.push_back(targetList("Combo2", "02", {1560, 840, 735, 420}, 8));
    c.push_back(unitLabel("Label8", "月", {2280, 885, 375, 375}, 19));
    c.push_back(targetList("Combo3", "06", {2640, 840, 735, 420}, 9));
    c.push_back(unitLabel("Label9", "日", {3360, 885, 375, 375}, 20));
    c.push_back(targetList("Combo4", "02", {3720, 840, 735, 420}, 10));
    c.push_back(unitLabel("Label10", "时", {4440, 885, 375, 375}, 21));
    c.push_back(targetList("Combo5", "36", {4800, 840, 735, 420}, 11));
    c.push_back(unitLabel("Label11", "分", {5520, 885, 375, 375}, 22));
    c.push_back(targetList("Combo6", "18", {5880, 840, 735, 420}, 12));
    c.push_back(unitLabel("Label12", "秒", {6600, 885, 375, 375}, 23));

    c.push_back({"Frame2",
                 Kind::Frame,
                 "",
                 "",
                 {120, 1680, 7095, 1335},
                 std::nullopt,
                 std::nullopt,
                 std::nullopt,
                 31});
    c.push_back(option("Option1", "关机", {120, 240, 735, 375}, true, 2));
    c.push_back(option("Option2", "重启", {120, 720, 735, 420}, false, 3));
    c.push_back(button("Command1", "Frame2", "同步时间", {960, 240, 975, 375}, std::nullopt, 1));
    c.push_back(button("Command3", "Frame2", "生效", {2040, 240, 1575, 855}, kSong15, 4));
    c.push_back(button("Command4", "Frame2", "重置", {3720, 240, 1575, 855}, kSong15, 5));
    c.push_back(button("Command5", "Frame2", "退出", {5400, 240, 1575, 855}, kSong15, 6));
    // On the window, in front of Frame2, right under Command1.
    c.push_back(button("Command2", "", "参数设置", {1080, 2400, 975, 375}, std::nullopt, 33));

    c.push_back({"Frame3",
                 Kind::Frame,
                 "",
                 "程序运行情况：",
                 {120, 3120, 7095, 855},
                 kOrange,
                 std::nullopt,
                 std::nullopt,
                 30});
    Control status{"Label13",        Kind::Label,           "Frame3",
                   "程序初始化中……", {240, 360, 6735, 375}, kRed,
                   std::nullopt,     std::nullopt,          34};
    status.align = Align::Centre;
    c.push_back(status);

    c.push_back(timer("Timer1", true));
    c.push_back(timer("Timer2", false));
    c.push_back(timer("Timer3", false));
    return t;
}

}  // namespace

const FormTable& Form1Table() {
    static const FormTable table = makeTable();
    return table;
}

}  // namespace mainwindow

// The toolkit-neutral description of a window: every control with its kind, container, caption,
// rectangle in twips, colours, font, tab index and initial state. A toolkit builds real windows
// from it; the in-memory form builds its state from it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace forms {

enum class Kind { TextBox, ComboBox, OptionButton, PushButton, Label, Frame, Timer };

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// The colours the windows use, named once.
namespace palette {
inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kRed{255, 0, 0};
inline constexpr Rgb kGreen{0, 255, 0};
inline constexpr Rgb kBlue{0, 0, 255};
inline constexpr Rgb kYellow{255, 255, 0};
inline constexpr Rgb kMagenta{255, 0, 255};
inline constexpr Rgb kOrange{255, 128, 0};
inline constexpr Rgb kBrown{192, 64, 0};
}  // namespace palette

struct Font {
    std::string face;
    double points = 0;
    bool bold = false;
    friend bool operator==(const Font&, const Font&) = default;
};

// Left, top, width and height in twips (1/1440 inch; 15 twips are one pixel at 96 dpi),
// relative to the containing frame or to the window's client area.
struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const Rect&, const Rect&) = default;
};

enum class Align { Left, Centre };

// Every member has a default, so that a table names only what a control has, as a form file does.
struct Control {
    std::string name{};
    Kind kind = Kind::Label;
    std::string container{};  // the frame that holds it; empty for the window itself
    std::string text{};       // caption or initial text
    Rect rect{};
    std::optional<Rgb> foreColour{};
    std::optional<Rgb> backColour{};
    std::optional<Font> font{};  // empty: the platform's default dialog font
    int tabIndex = -1;           // -1 for timers, which have none
    // For a timer: running at creation. A window's timers all tick on its one wake-up a second,
    // which its handlers reschedule, so a timer has no interval of its own.
    bool enabled = true;
    bool selected = false;  // option buttons only
    Align align = Align::Left;
};

struct FormTable {
    std::string name;
    std::string caption;
    int clientWidth = 0;  // twips
    int clientHeight = 0;
    std::vector<Control> controls;
    // The keys of a dialog: the push button Enter presses when no push button has the focus (none
    // when empty), and whether Escape closes the window as its close box does.
    std::string defaultButton{};
    bool escapeCloses = false;
    // A window that stays in front of every other window, also of other programs'; one that shows
    // without taking the keyboard focus from the program the user is typing in; and the window
    // this one belongs to, which takes it along when it is unloaded (none when empty).
    bool topMost = false;
    bool showWithoutActivating = false;
    std::string belongsTo{};
    // Shown as the program's icon in the notification area instead of a window: its label is the
    // icon's tooltip, a click on the icon is a click on the label, and its push buttons are the
    // items of the icon's menu, in the table's order. Where the desktop has no notification area
    // it is not loaded.
    bool inNotificationArea = false;

    // The control of that name; throws std::out_of_range for an unknown name.
    const Control& control(std::string_view controlName) const;
};

// What a handler asks of a control. Every control but a timer has a text (a caption for most);
// every control can be switched on and off; only option buttons are selected, and only combo
// boxes have items and a list index.
enum class Access { Text, Enabled, Selected, List };

// The control of that name, when its kind has that property. Throws std::logic_error naming the
// control otherwise: the rule every toolkit's form follows.
const Control& controlFor(const FormTable& table, std::string_view name, Access access);

// Controls that can hold the keyboard focus, in the order the Tab key visits them.
std::vector<const Control*> focusOrder(const FormTable& table);

bool takesFocus(Kind kind);

// Twips to pixels at 96 dpi, rounded to the nearest pixel.
constexpr int twipsToPixels(int twips) {
    return twips >= 0 ? (twips + 7) / 15 : -((-twips + 7) / 15);
}

}  // namespace forms

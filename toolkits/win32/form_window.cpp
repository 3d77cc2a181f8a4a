#include "toolkits/win32/form_window.h"

#include <commctrl.h>
#include <uxtheme.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <utility>

#include "platform/win32_resources.h"

namespace win32forms {

namespace {

using forms::Control;
using forms::Kind;

constexpr wchar_t kWindowClass[] = L"VorlixForm";
constexpr UINT_PTR kTickTimer = 1;
constexpr int kFirstControlId = 100;
// Below its edit field a drop-down combo box keeps room for its list.
constexpr int kListTwips = 2400;

HINSTANCE instance() {
    return GetModuleHandleW(nullptr);
}

// Looked up at run time: older systems lack them and then get the 96 dpi layout.
template <typename Function>
Function* user32(const char* name) {
    return reinterpret_cast<Function*>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

UINT dpiOf(HWND hwnd) {
    static auto* const forWindow = user32<UINT WINAPI(HWND)>("GetDpiForWindow");
    const UINT dpi = forWindow != nullptr ? forWindow(hwnd) : 0;
    return dpi != 0 ? dpi : USER_DEFAULT_SCREEN_DPI;
}

int pixels(int twips, UINT dpi) {
    return MulDiv(twips, static_cast<int>(dpi), 1440);
}

COLORREF colorref(const forms::Rgb& c) {
    return RGB(c.red, c.green, c.blue);
}

std::string windowText(HWND hwnd) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), text.size())));
    return narrow(text);
}

void registerClass(WNDPROC windowProc) {
    static const ATOM atom = [&] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = windowProc;
        wc.hInstance = instance();
        wc.hIcon = LoadIconW(instance(), MAKEINTRESOURCEW(VORLIX_ICON_ID));
        wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = kWindowClass;
        return RegisterClassExW(&wc);
    }();
    if (atom == 0) {
        throw std::runtime_error("the window class cannot be registered");
    }
}

}  // namespace

HWND FormWindow::control(std::string_view name) const {
    auto it = controls_.find(name);
    return it == controls_.end() ? nullptr : it->second;
}

const Control* FormWindow::controlOf(HWND child) const {
    for (const auto& [name, own] : controls_) {
        const Control& c = table_.control(name);
        COMBOBOXINFO info{};
        info.cbSize = sizeof info;
        if (own == child || (c.kind == Kind::ComboBox && GetComboBoxInfo(own, &info) &&
                             (info.hwndItem == child || info.hwndList == child))) {
            return &c;
        }
    }
    return nullptr;
}

std::string FormWindow::text(const Control& c) const {
    return windowText(control(c.name));
}

void FormWindow::setText(const Control& c, std::string_view text) {
    HWND own = control(c.name);
    if (c.kind == Kind::ComboBox) {
        // A text of its own selects no item, even one that reads the same.
        SendMessageW(own, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    }
    SetWindowTextW(own, wide(text).c_str());
}

bool FormWindow::enabled(const Control& c) const {
    // Every control is a child of the window itself, so this is the control's own switch: a
    // disabled frame does not switch off what it holds.
    return IsWindowEnabled(control(c.name)) != FALSE;
}

void FormWindow::setEnabled(const Control& c, bool on) {
    EnableWindow(control(c.name), on);
}

bool FormWindow::checked(const Control& c) const {
    return SendMessageW(control(c.name), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void FormWindow::setChecked(const Control& c, bool on) {
    SendMessageW(control(c.name), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

int FormWindow::itemCount(const Control& c) const {
    return static_cast<int>(SendMessageW(control(c.name), CB_GETCOUNT, 0, 0));
}

void FormWindow::addItem(const Control& c, std::string_view item) {
    SendMessageW(control(c.name), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide(item).c_str()));
}

void FormWindow::showItem(const Control& c, int index) {
    // Shows the item's text, also over what the user typed while the index stayed.
    SendMessageW(control(c.name), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

FormWindow::FormWindow(const forms::FormTable& table, forms::WindowEvents& events)
    : table_(table), events_(events), form_(table, *this) {
    registerClass(&windowProc);
    // No WS_CLIPCHILDREN: a group box paints only its border and caption, so the inside of a frame
    // is whatever the window paints under its controls, and that must be its face colour.
    const DWORD extended = WS_EX_CONTROLPARENT | (table.topMost ? WS_EX_TOPMOST : 0) |
                           (table.showWithoutActivating ? WS_EX_NOACTIVATE : 0);
    window_.reset(CreateWindowExW(extended, kWindowClass, wide(table.caption).c_str(),
                                  WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                                  CW_USEDEFAULT, CW_USEDEFAULT, 0, 0, nullptr, nullptr, instance(),
                                  nullptr));
    if (!window_) {
        throw std::runtime_error("window " + table.name + " cannot be created");
    }

    // The Tab key follows the order of creation, and the first control created lies in front:
    // the controls that take the focus in their tab order, then the labels, each in front of the
    // ones the table lists before it, and the frames at the back.
    std::vector<const Control*> creation = forms::focusOrder(table);
    for (auto it = table.controls.rbegin(); it != table.controls.rend(); ++it) {
        if (it->kind == Kind::Label) {
            creation.push_back(&*it);
        }
    }
    for (const Control& c : table.controls) {
        if (c.kind == Kind::Frame) {
            creation.push_back(&c);
        }
    }
    const UINT dpi = dpiOf(hwnd());
    const Control* previous = nullptr;
    for (const Control* c : creation) {
        // Option buttons next to each other in one container are one group for the arrow keys.
        const bool grouped = c->kind == Kind::OptionButton && previous != nullptr &&
                             previous->kind == Kind::OptionButton &&
                             previous->container == c->container;
        controls_.emplace(c->name, build(*c, !grouped, dpi));
        previous = c;
    }
    sizeFrame(dpi);
    // The window reaches this object only once it is whole, and no longer once it begins to go.
    SetWindowLongPtrW(hwnd(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

FormWindow::~FormWindow() {
    SetWindowLongPtrW(hwnd(), GWLP_USERDATA, 0);
}

HWND FormWindow::build(const Control& c, bool startsGroup, UINT dpi) {
    DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    DWORD extended = 0;
    const wchar_t* windowClass = L"BUTTON";
    if (forms::takesFocus(c.kind)) {
        style |= WS_TABSTOP;
    }
    if (startsGroup) {
        style |= WS_GROUP;
    }
    if (!c.enabled) {
        style |= WS_DISABLED;
    }
    switch (c.kind) {
        case Kind::TextBox:
            windowClass = L"EDIT";
            style |= ES_LEFT | ES_AUTOHSCROLL;
            extended = WS_EX_CLIENTEDGE;
            break;
        case Kind::ComboBox:
            windowClass = L"COMBOBOX";
            style |= CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL;
            break;
        case Kind::OptionButton:
            style |= BS_AUTORADIOBUTTON;
            break;
        case Kind::PushButton:
            style |= c.name == table_.defaultButton ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
            break;
        case Kind::Label:
            windowClass = L"STATIC";
            style |= SS_NOTIFY | SS_NOPREFIX | (c.align == forms::Align::Centre ? SS_CENTER : 0);
            break;
        case Kind::Frame:
            style |= BS_GROUPBOX;
            break;
        case Kind::Timer:
            return nullptr;
    }
    // Made in its place and given its font at once: under Wine every later move or change of
    // font lays the control's text out again, and a combo box moves its list, a window of its
    // own, with it.
    const auto id = kFirstControlId + (&c - table_.controls.data());
    const RECT r = placement(c, dpi);
    HWND child = CreateWindowExW(extended, windowClass, wide(c.text).c_str(), style, r.left, r.top,
                                 r.right - r.left, r.bottom - r.top, hwnd(),
                                 reinterpret_cast<HMENU>(id), instance(), nullptr);
    if (child == nullptr) {
        throw std::runtime_error("control " + c.name + " cannot be created");
    }
    if (c.kind == Kind::ComboBox) {
        SetWindowTextW(child, wide(c.text).c_str());
    }
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font(c.font, dpi)), TRUE);
    if (c.kind == Kind::OptionButton || (c.kind == Kind::Frame && c.foreColour)) {
        // The themed look paints these captions in the theme's colour, whatever the table says.
        SetWindowTheme(child, L"", L"");
    }
    if (c.selected) {
        SendMessageW(child, BM_SETCHECK, BST_CHECKED, 0);
    }
    return child;
}

RECT FormWindow::placement(const Control& c, UINT dpi) const {
    forms::Rect r = c.rect;
    if (!c.container.empty()) {
        // Frames make poor parents, so a frame's controls are the window's, at its offset.
        const forms::Rect& frame = table_.control(c.container).rect;
        r.left += frame.left;
        r.top += frame.top;
    }
    const int height = c.kind == Kind::ComboBox ? r.height + kListTwips : r.height;
    const int left = pixels(r.left, dpi);
    const int top = pixels(r.top, dpi);
    return {left, top, left + pixels(r.width, dpi), top + pixels(height, dpi)};
}

void FormWindow::layout(UINT dpi) {
    for (const Control& c : table_.controls) {
        HWND hwnd = control(c.name);
        if (hwnd == nullptr) {
            continue;
        }
        const RECT r = placement(c, dpi);
        SetWindowPos(hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font(c.font, dpi)), TRUE);
    }
    sizeFrame(dpi);
}

void FormWindow::sizeFrame(UINT dpi) {
    using Adjust = BOOL WINAPI(RECT*, DWORD, BOOL, DWORD, UINT);
    static auto* const adjustForDpi = user32<Adjust>("AdjustWindowRectExForDpi");
    RECT frame{0, 0, pixels(table_.clientWidth, dpi), pixels(table_.clientHeight, dpi)};
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(hwnd(), GWL_STYLE));
    const auto extended = static_cast<DWORD>(GetWindowLongPtrW(hwnd(), GWL_EXSTYLE));
    if (adjustForDpi != nullptr) {
        adjustForDpi(&frame, style, FALSE, extended, dpi);
    } else {
        AdjustWindowRectEx(&frame, style, FALSE, extended);
    }
    SetWindowPos(hwnd(), nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HFONT FormWindow::font(const std::optional<forms::Font>& f, UINT dpi) {
    // Points in hundredths: formatting a double would bring the C library's whole printf into
    // the program for one cache key.
    const std::string key = (f ? f->face + "|" + std::to_string(std::lround(f->points * 100)) +
                                     "|" + std::to_string(f->bold)
                               : std::string("default")) +
                            "@" + std::to_string(dpi);
    auto it = fonts_.find(key);
    if (it != fonts_.end()) {
        return it->second.get();
    }
    LOGFONTW logical{};
    if (f) {
        logical.lfHeight =
            -MulDiv(static_cast<int>(std::lround(f->points * 10)), static_cast<int>(dpi), 720);
        logical.lfWeight = f->bold ? FW_BOLD : FW_NORMAL;
        logical.lfCharSet = GB2312_CHARSET;
        const std::wstring face = wide(f->face);
        face.copy(logical.lfFaceName, LF_FACESIZE - 1);
    } else {
        using ForDpi = BOOL WINAPI(UINT, UINT, void*, UINT, UINT);
        static auto* const metricsForDpi = user32<ForDpi>("SystemParametersInfoForDpi");
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof metrics;
        if (metricsForDpi != nullptr) {
            metricsForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi);
        } else {
            SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
        }
        logical = metrics.lfMessageFont;
    }
    HFONT handle = CreateFontIndirectW(&logical);
    fonts_.emplace(key, handle);
    return handle;
}

HBRUSH FormWindow::brush(const forms::Rgb& colour) {
    const COLORREF key = colorref(colour);
    auto it = brushes_.find(key);
    if (it == brushes_.end()) {
        it = brushes_.emplace(key, CreateSolidBrush(key)).first;
    }
    return it->second.get();
}

void FormWindow::scheduleTick(std::optional<std::chrono::milliseconds> after) {
    if (after) {
        const auto ms = std::clamp<std::chrono::milliseconds::rep>(after->count(), 0, 0x7fffffff);
        SetTimer(hwnd(), kTickTimer, static_cast<UINT>(ms), nullptr);
    } else {
        KillTimer(hwnd(), kTickTimer);
    }
}

void FormWindow::focusFirstControl() {
    const std::vector<const Control*> order = forms::focusOrder(table_);
    if (!order.empty()) {
        SetFocus(control(order.front()->name));
    }
}

void FormWindow::present() {
    RECT frame{};
    GetWindowRect(hwnd(), &frame);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(hwnd(), MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& work = monitor.rcWork;
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    const bool activate = !table_.showWithoutActivating;
    SetWindowPos(hwnd(), HWND_TOP, work.left + (work.right - work.left - width) / 2,
                 work.top + (work.bottom - work.top - height) / 2, 0, 0,
                 SWP_NOSIZE | (activate ? 0 : SWP_NOACTIVATE));
    ShowWindow(hwnd(), activate ? SW_SHOW : SW_SHOWNOACTIVATE);
    if (activate) {
        SetForegroundWindow(hwnd());
        focusFirstControl();
    }
}

void FormWindow::bringForward() {
    if (table_.showWithoutActivating) {
        ShowWindow(hwnd(), SW_SHOWNOACTIVATE);
        return;
    }
    ShowWindow(hwnd(), IsIconic(hwnd()) ? SW_RESTORE : SW_SHOW);
    SetForegroundWindow(hwnd());
}

void FormWindow::retire() {
    KillTimer(hwnd(), kTickTimer);
    ShowWindow(hwnd(), SW_HIDE);
}

LRESULT CALLBACK FormWindow::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* window = reinterpret_cast<FormWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    return window != nullptr ? window->handle(message, wParam, lParam)
                             : DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT FormWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    // Unloading this window may destroy this object while the event is being passed on: nothing
    // of the object is touched after an event has gone out.
    forms::WindowEvents& events = events_;
    switch (message) {
        case WM_COMMAND: {
            // The dialog manager turns Escape into IDCANCEL from no control.
            if (LOWORD(wParam) == IDCANCEL && lParam == 0) {
                if (table_.escapeCloses) {
                    SendMessageW(hwnd(), WM_CLOSE, 0, 0);
                }
                return 0;
            }
            const Control* c = controlOf(reinterpret_cast<HWND>(lParam));
            // BN_CLICKED of a button and STN_CLICKED of a label are both zero.
            if (c != nullptr && HIWORD(wParam) == BN_CLICKED &&
                (c->kind == Kind::PushButton || c->kind == Kind::OptionButton ||
                 c->kind == Kind::Label)) {
                events.clicked(*this, c->name);
            }
            return 0;
        }
        case DM_GETDEFID: {
            // The Enter key presses the push button that has the focus, else the window's default
            // one, as in a dialog.
            const Control* c = controlOf(GetFocus());
            HWND button = control(
                c != nullptr && c->kind == Kind::PushButton ? c->name : table_.defaultButton);
            return button != nullptr ? MAKELRESULT(GetDlgCtrlID(button), DC_HASDEFID) : 0;
        }
        case WM_TIMER:
            if (wParam == kTickTimer) {
                KillTimer(hwnd(), kTickTimer);
                events.ticked(*this);
                return 0;
            }
            break;
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORLISTBOX:
            return colours(message, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        case WM_ACTIVATE:
            if (LOWORD(wParam) == WA_INACTIVE) {
                lastFocus_ = GetFocus();
            } else if (lastFocus_ != nullptr && IsChild(hwnd(), lastFocus_)) {
                SetFocus(lastFocus_);
                return 0;
            }
            break;
        case WM_DPICHANGED: {
            layout(HIWORD(wParam));
            const auto* suggested = reinterpret_cast<const RECT*>(lParam);
            SetWindowPos(hwnd(), nullptr, suggested->left, suggested->top, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            return 0;
        }
        case WM_SIZE:
            if (wParam == SIZE_MINIMIZED) {
                events.minimized(*this);
                return 0;
            }
            break;
        case WM_CLOSE:
            events.closed(*this);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(hwnd(), message, wParam, lParam);
}

LRESULT FormWindow::colours(UINT message, HDC dc, HWND child) {
    const Control* c = controlOf(child);
    if (c == nullptr || (!c->foreColour && !c->backColour)) {
        return DefWindowProcW(hwnd(), message, reinterpret_cast<WPARAM>(dc),
                              reinterpret_cast<LPARAM>(child));
    }
    // A disabled control keeps the system's text colour, so that it still looks disabled.
    if (c->foreColour && IsWindowEnabled(child)) {
        SetTextColor(dc, colorref(*c->foreColour));
    }
    if (c->backColour) {
        SetBkColor(dc, colorref(*c->backColour));
        return reinterpret_cast<LRESULT>(brush(*c->backColour));
    }
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

}  // namespace win32forms

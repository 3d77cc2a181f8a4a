// Plays the user of the running program the way an accessibility tool would, through the window
// messages every Win32 control answers: it reads the program's own clock fields, types a target
// that many seconds later into the six target lists, picks the action and presses "生效".
// Prints the target as YYYY-MM-DD HH:MM:SS. With "status" it prints the status line instead, with
// "yearlist" the first and the last year the year list offers; "years" saves a year range in the
// year dialog and prints the message that answers; "box" prints the text of the program's own
// message box shown without its window (a bad command line) and closes it.
//
// Usage: ui_driver shutdown|restart SECONDS
//        ui_driver status | yearlist | box
//        ui_driver years START END
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

constexpr wchar_t kTitle[] = L"Vorlix定时关机软件2.2";

struct Child {
    HWND hwnd;
    std::wstring className;
    std::wstring text;
    LONG left;
    LONG top;
};

std::wstring textOf(HWND hwnd) {
    wchar_t text[256] = {};
    ::SendMessageW(hwnd, WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text));
    return text;
}

// The window's own controls, left to right; not the edit boxes inside its combo boxes.
std::vector<Child> childrenOf(HWND window) {
    std::vector<HWND> all;
    ::EnumChildWindows(
        window,
        [](HWND hwnd, LPARAM found) {
            reinterpret_cast<std::vector<HWND>*>(found)->push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&all));
    std::vector<Child> children;
    for (HWND hwnd : all) {
        if (::GetParent(hwnd) != window) {
            continue;
        }
        wchar_t className[64] = {};
        ::GetClassNameW(hwnd, className, static_cast<int>(std::size(className)));
        RECT rect{};
        ::GetWindowRect(hwnd, &rect);
        children.push_back({hwnd, className, textOf(hwnd), rect.left, rect.top});
    }
    std::ranges::stable_sort(children, {}, &Child::left);
    return children;
}

std::vector<HWND> ofClass(const std::vector<Child>& children, const wchar_t* className) {
    std::vector<HWND> found;
    for (const Child& c : children) {
        if (::_wcsicmp(c.className.c_str(), className) == 0) {
            found.push_back(c.hwnd);
        }
    }
    return found;
}

HWND withText(const std::vector<Child>& children, const wchar_t* text) {
    for (const Child& c : children) {
        if (c.text == text) {
            return c.hwnd;
        }
    }
    return nullptr;
}

[[noreturn]] void fail(const char* why) {
    std::fprintf(stderr, "ui_driver: %s\n", why);
    std::exit(1);
}

void print(const std::wstring& text) {
    const int size =
        ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, utf8.data(), size, nullptr, nullptr);
    std::printf("%s\n", utf8.c_str());
}

// A window exists before its load handler has run; it is shown after.
HWND shownWindow(const wchar_t* className, const wchar_t* title) {
    for (int i = 0; i < 200; ++i) {
        HWND window = ::FindWindowW(className, title);
        if (window != nullptr && ::IsWindowVisible(window)) {
            return window;
        }
        ::Sleep(100);
    }
    fail("a window never showed");
}

// The six clock fields as one moment, read until two readings agree, so that a tick between the
// reads of two fields cannot mix two seconds.
SYSTEMTIME clockOf(const std::vector<HWND>& fields) {
    std::vector<std::wstring> last;
    for (int attempt = 0; attempt < 50; ++attempt) {
        std::vector<std::wstring> texts;
        for (HWND field : fields) {
            texts.push_back(textOf(field));
        }
        if (texts == last) {
            SYSTEMTIME time{};
            WORD* parts[] = {&time.wYear, &time.wMonth,  &time.wDay,
                             &time.wHour, &time.wMinute, &time.wSecond};
            for (std::size_t i = 0; i < 6; ++i) {
                *parts[i] = static_cast<WORD>(std::wcstoul(texts[i].c_str(), nullptr, 10));
            }
            return time;
        }
        last = texts;
    }
    fail("the clock fields never held still");
}

// The status line is the lowest label of the window.
void printStatus(const std::vector<Child>& children) {
    const Child* status = nullptr;
    for (const Child& c : children) {
        if (::_wcsicmp(c.className.c_str(), L"Static") == 0 &&
            (status == nullptr || c.top > status->top)) {
            status = &c;
        }
    }
    if (status == nullptr) {
        fail("no status line");
    }
    print(status->text);
}

// The year list is the leftmost list.
void printYearList(const std::vector<Child>& children) {
    const std::vector<HWND> lists = ofClass(children, L"ComboBox");
    const LRESULT count = lists.empty() ? 0 : ::SendMessageW(lists[0], CB_GETCOUNT, 0, 0);
    if (count <= 0) {
        fail("no year list");
    }
    auto item = [&lists](LRESULT index) {
        std::wstring text(::SendMessageW(lists[0], CB_GETLBTEXTLEN, index, 0), L'\0');
        ::SendMessageW(lists[0], CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
        return text;
    };
    print(item(0) + L" " + item(count - 1));
}

void saveYears(const std::vector<Child>& children, const wchar_t* start, const wchar_t* end) {
    HWND open = withText(children, L"参数设置");
    if (open == nullptr) {
        fail("no 参数设置 button");
    }
    ::SendMessageW(open, BM_CLICK, 0, 0);
    const std::vector<Child> controls = childrenOf(shownWindow(nullptr, L"参数设置"));
    const std::vector<HWND> boxes = ofClass(controls, L"Edit");
    HWND save = withText(controls, L"确定");
    if (boxes.size() != 2 || save == nullptr) {
        fail("not two year boxes and a 确定 button");
    }
    ::SendMessageW(boxes[0], WM_SETTEXT, 0, reinterpret_cast<LPARAM>(start));
    ::SendMessageW(boxes[1], WM_SETTEXT, 0, reinterpret_cast<LPARAM>(end));
    // The answer is a modal message box: a sent click would only return once it is closed.
    ::PostMessageW(save, BM_CLICK, 0, 0);
    HWND answer = shownWindow(L"#32770", L"提示");
    wchar_t text[256] = {};
    ::GetDlgItemTextW(answer, 0xFFFF, text, static_cast<int>(std::size(text)));
    print(text);
    ::PostMessageW(answer, WM_COMMAND, IDOK, 0);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring mode = argc > 1 ? argv[1] : L"";
    const bool arming = argc == 3 && (mode == L"shutdown" || mode == L"restart");
    if (!arming && !(argc == 2 && (mode == L"status" || mode == L"yearlist" || mode == L"box")) &&
        !(argc == 4 && mode == L"years")) {
        fail(
            "usage: ui_driver shutdown|restart SECONDS | status | yearlist | box"
            " | years START END");
    }
    if (mode == L"box") {
        HWND box = shownWindow(L"#32770", kTitle);
        wchar_t text[1024] = {};
        ::GetDlgItemTextW(box, 0xFFFF, text, static_cast<int>(std::size(text)));
        print(text);
        ::PostMessageW(box, WM_COMMAND, IDOK, 0);
        return 0;
    }

    HWND window = shownWindow(nullptr, kTitle);
    if (mode == L"status") {
        printStatus(childrenOf(window));
    } else if (mode == L"yearlist") {
        printYearList(childrenOf(window));
    } else if (mode == L"years") {
        saveYears(childrenOf(window), argv[2], argv[3]);
    }
    if (!arming) {
        return 0;
    }
    const long long ahead = std::wcstol(argv[2], nullptr, 10);
    // The clock fields show the designer's 2014 until the first tick has copied the clock in.
    std::vector<Child> children = childrenOf(window);
    std::vector<HWND> fields = ofClass(children, L"Edit");
    for (int i = 0; i < 100 && fields.size() == 6 && textOf(fields[0]) == L"2014"; ++i) {
        ::Sleep(100);
    }
    const std::vector<HWND> lists = ofClass(children, L"ComboBox");
    if (fields.size() != 6 || lists.size() != 6) {
        fail("not six clock fields and six target lists");
    }

    const SYSTEMTIME now = clockOf(fields);
    FILETIME file{};
    ::SystemTimeToFileTime(&now, &file);
    ULARGE_INTEGER ticks{{file.dwLowDateTime, file.dwHighDateTime}};
    ticks.QuadPart += static_cast<ULONGLONG>(ahead) * 10'000'000ULL;
    file = {ticks.LowPart, ticks.HighPart};
    SYSTEMTIME target{};
    ::FileTimeToSystemTime(&file, &target);

    const WORD parts[] = {target.wYear, target.wMonth,  target.wDay,
                          target.wHour, target.wMinute, target.wSecond};
    for (std::size_t i = 0; i < 6; ++i) {
        const std::wstring text = std::to_wstring(parts[i]);
        ::SendMessageW(lists[i], WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    if (std::wcscmp(argv[1], L"restart") == 0) {
        ::SendMessageW(withText(children, L"重启"), BM_CLICK, 0, 0);
    }
    HWND arm = withText(children, L"生效");
    if (arm == nullptr) {
        fail("no 生效 button");
    }
    ::SendMessageW(arm, BM_CLICK, 0, 0);
    std::printf("%04u-%02u-%02u %02u:%02u:%02u\n", target.wYear, target.wMonth, target.wDay,
                target.wHour, target.wMinute, target.wSecond);
    return 0;
}

// Plays the user of the running program the way an accessibility tool would, through the window
// messages every Win32 control answers: it reads the program's own clock fields, types a target
// that many seconds later into the six target lists, picks the action and presses "生效".
// Prints the target as YYYY-MM-DD HH:MM:SS. With "status" it prints the status line instead.
//
// Usage: ui_driver shutdown|restart SECONDS
//        ui_driver status
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
    const int size =
        ::WideCharToMultiByte(CP_UTF8, 0, status->text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, status->text.c_str(), -1, text.data(), size, nullptr,
                          nullptr);
    std::printf("%s\n", text.c_str());
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const bool arming = argc == 3 && (std::wcscmp(argv[1], L"shutdown") == 0 ||
                                      std::wcscmp(argv[1], L"restart") == 0);
    if (!arming && !(argc == 2 && std::wcscmp(argv[1], L"status") == 0)) {
        fail("usage: ui_driver shutdown|restart SECONDS | ui_driver status");
    }

    // The window exists before its controls do; it is shown once they all are.
    HWND window = nullptr;
    for (int i = 0; i < 200 && window == nullptr; ++i) {
        window = ::FindWindowW(nullptr, kTitle);
        if (window != nullptr && !::IsWindowVisible(window)) {
            window = nullptr;
        }
        ::Sleep(100);
    }
    if (window == nullptr) {
        fail("no program window");
    }
    if (!arming) {
        printStatus(childrenOf(window));
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

// The test's hands on the running program under Wine, through the window messages every Win32
// control answers, as an accessibility tool would use them. The steps, done in order:
//   window TITLE         waits until a window with that title shows; the next steps act on it
//   fill CLASS TEXT...   puts the texts into its controls of that class, left to right
//   click CAPTION        presses its button with that caption, without waiting for what follows
//   print                prints the text of each of its controls, a line each; for a list the
//                        first and the last item, as "FIRST..LAST"
//
// Copied as shutdown.exe and started with shutdown.exe's arguments (-f ...), it shuts nothing down:
// it appends its command line and the local time to shutdown-record.txt in the current folder and
// exits with the number in FAKE_SHUTDOWN_EXIT, 0 when that is not set.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <cwctype>
#include <string>
#include <vector>

namespace {

std::string utf8(const std::wstring& wide) {
    std::string text(wide.size() * 3, '\0');
    text.resize(::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                      text.data(), static_cast<int>(text.size()), nullptr,
                                      nullptr));
    return text;
}

[[noreturn]] void fail(const std::wstring& why) {
    std::fprintf(stderr, "helper: %s\n", utf8(why).c_str());
    std::exit(1);
}

std::wstring textOf(HWND control) {
    wchar_t text[1024] = {};
    ::SendMessageW(control, WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text));
    return text;
}

bool isOfClass(HWND control, const wchar_t* kind) {
    wchar_t name[64] = {};
    ::GetClassNameW(control, name, static_cast<int>(std::size(name)));
    return ::_wcsicmp(name, kind) == 0;
}

// The window's own controls, left to right; not the edit boxes inside its lists.
std::vector<HWND> controlsOf(HWND window) {
    std::vector<HWND> all;
    for (HWND c = ::GetWindow(window, GW_CHILD); c != nullptr; c = ::GetWindow(c, GW_HWNDNEXT)) {
        all.push_back(c);
    }
    std::ranges::stable_sort(all, {}, [](HWND control) {
        RECT rect{};
        ::GetWindowRect(control, &rect);
        return rect.left;
    });
    return all;
}

// A window exists before its load handler has run; it is shown after.
HWND shownWindow(const wchar_t* title) {
    for (int i = 0; i < 200; ++i) {
        HWND window = ::FindWindowW(nullptr, title);
        if (window != nullptr && ::IsWindowVisible(window)) {
            return window;
        }
        ::Sleep(100);
    }
    fail(L"no window " + std::wstring(title));
}

std::wstring item(HWND list, LRESULT index) {
    std::wstring text(::SendMessageW(list, CB_GETLBTEXTLEN, index, 0), L'\0');
    ::SendMessageW(list, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    return text;
}

int recordShutdown() {
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    FILE* record = ::_wfopen(L"shutdown-record.txt", L"ab");
    if (record == nullptr) {
        return 100;
    }
    std::fprintf(record, "%s\t%04u-%02u-%02u %02u:%02u:%02u.%03u\n",
                 utf8(::GetCommandLineW()).c_str(), now.wYear, now.wMonth, now.wDay, now.wHour,
                 now.wMinute, now.wSecond, now.wMilliseconds);
    std::fclose(record);
    const wchar_t* code = ::_wgetenv(L"FAKE_SHUTDOWN_EXIT");
    return code != nullptr ? ::_wtoi(code) : 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc > 1 && std::wcscmp(argv[1], L"-f") == 0) {
        return recordShutdown();
    }
    HWND window = nullptr;
    for (int i = 1; i < argc; ++i) {
        const std::wstring step = argv[i];
        if (step == L"window" && i + 1 < argc) {
            window = shownWindow(argv[++i]);
        } else if (window == nullptr) {
            fail(L"no window for " + step);
        } else if (step == L"fill" && i + 1 < argc) {
            const wchar_t* kind = argv[++i];
            for (HWND control : controlsOf(window)) {
                if (i + 1 < argc && std::iswdigit(argv[i + 1][0]) && isOfClass(control, kind)) {
                    ::SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[++i]));
                }
            }
        } else if (step == L"click" && i + 1 < argc) {
            const std::vector<HWND> controls = controlsOf(window);
            const auto button = std::ranges::find(controls, argv[++i], textOf);
            if (button == controls.end()) {
                fail(L"no button " + std::wstring(argv[i]));
            }
            // Posted: a click that opens a modal box would only return once the box is closed.
            ::PostMessageW(*button, BM_CLICK, 0, 0);
        } else if (step == L"print") {
            for (HWND control : controlsOf(window)) {
                const LRESULT items = isOfClass(control, L"ComboBox")
                                          ? ::SendMessageW(control, CB_GETCOUNT, 0, 0)
                                          : 0;
                const std::wstring text = items > 0
                                              ? item(control, 0) + L".." + item(control, items - 1)
                                              : textOf(control);
                std::printf("%s\n", utf8(text).c_str());
            }
        } else {
            fail(L"unknown step " + step);
        }
    }
    return 0;
}

// The test's hands on the program under Wine, through the messages every Win32 control answers:
// steps "window TITLE", "fill CLASS NUMBER..." (left to right), "click CAPTION", "print" (a list as
// "FIRST..LAST"), "run COMMAND_LINE" (prints "exit STATUS").
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <cwctype>
#include <map>
#include <string>

#include "platform/win32_text.h"

namespace {

void say(FILE* to, const std::wstring& text) {
    std::fprintf(to, "%s\n", win32text::narrow(text).c_str());
}

[[noreturn]] void fail(const std::wstring& why) {
    say(stderr, L"helper: " + why);
    std::exit(1);
}

std::wstring textOf(HWND control, UINT message = WM_GETTEXT, WPARAM index = 1024) {
    wchar_t text[1024] = {};
    ::SendMessageW(control, message, index, reinterpret_cast<LPARAM>(text));
    return text;
}

// Its own controls by their left edges, left to right; not the edit boxes inside its lists.
std::multimap<LONG, HWND> controlsOf(HWND window) {
    std::multimap<LONG, HWND> all;
    for (HWND c = ::GetWindow(window, GW_CHILD); c != nullptr; c = ::GetWindow(c, GW_HWNDNEXT)) {
        RECT rect{};
        ::GetWindowRect(c, &rect);
        all.emplace(rect.left, c);
    }
    return all;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    HWND window = nullptr;
    for (int i = 1; i < argc; ++i) {
        const std::wstring step = argv[i];
        if (step == L"window" && i + 1 < argc) {
            const wchar_t* title = argv[++i];
            // A window exists before its load handler has run; it is shown after.
            for (int n = 0; n < 200 && !::IsWindowVisible(window = ::FindWindowW(nullptr, title));
                 ++n) {
                ::Sleep(100);
            }
            if (!::IsWindowVisible(window)) {
                fail(L"no window " + std::wstring(title));
            }
        } else if (step == L"fill" && i + 1 < argc) {
            const wchar_t* kind = argv[++i];
            for (const auto& [left, control] : controlsOf(window)) {
                wchar_t name[64] = {};
                ::GetClassNameW(control, name, 64);
                if (i + 1 < argc && std::iswdigit(argv[i + 1][0]) && ::_wcsicmp(name, kind) == 0) {
                    ::SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[++i]));
                }
            }
        } else if (step == L"click" && i + 1 < argc) {
            const auto controls = controlsOf(window);
            const auto button = std::ranges::find(controls, std::wstring(argv[++i]),
                                                  [](auto entry) { return textOf(entry.second); });
            if (button == controls.end()) {
                fail(L"no button " + std::wstring(argv[i]));
            }
            // Posted: a click that opens a modal box would only return once the box is closed.
            ::PostMessageW(button->second, BM_CLICK, 0, 0);
        } else if (step == L"run" && i + 1 < argc) {
            // The command line's program, with this one's standard streams; prints its status.
            std::wstring command = argv[++i];
            STARTUPINFOW startup{};
            startup.cb = sizeof startup;
            startup.dwFlags = STARTF_USESTDHANDLES;
            startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
            startup.hStdOutput = ::GetStdHandle(STD_OUTPUT_HANDLE);
            startup.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
            PROCESS_INFORMATION started{};
            if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                  nullptr, &startup, &started)) {
                fail(L"cannot run " + command);
            }
            DWORD status = 0;
            ::WaitForSingleObject(started.hProcess, INFINITE);
            ::GetExitCodeProcess(started.hProcess, &status);
            ::CloseHandle(started.hThread);
            ::CloseHandle(started.hProcess);
            say(stdout, L"exit " + std::to_wstring(status));
        } else if (step == L"print") {
            for (const auto& [left, control] : controlsOf(window)) {
                const LRESULT items = ::SendMessageW(control, CB_GETCOUNT, 0, 0);
                say(stdout, items > 0 ? textOf(control, CB_GETLBTEXT, 0) + L".." +
                                            textOf(control, CB_GETLBTEXT, items - 1)
                                      : textOf(control));
            }
        } else {
            fail(L"unknown step " + step);
        }
    }
    return 0;
}

// The launcher on Windows: the command line handed whole to CreateProcessW, without a console
// window, and its exit code read without waiting whenever the window asks how it went.
#include <windows.h>

#include "platform/win32_handles.h"
#include "platform/win32_text.h"
#include "power/launcher.h"

namespace power {
namespace {

std::string startFailure(DWORD error) {
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
        return "找不到 shutdown.exe 命令";
    }
    return "无法启动 shutdown.exe：错误 " + std::to_string(error);
}

class Win32Launcher final : public Launcher {
  public:
    std::optional<std::string> start(Action action) override {
        // CreateProcessW may write into the command line, so it gets a copy of its own.
        std::wstring commandLine = win32text::wide(commandFor(action).front());
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE,
                              CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process)) {
            return startFailure(::GetLastError());
        }
        ::CloseHandle(process.hThread);
        latest_.reset(process.hProcess);
        return std::nullopt;
    }

    std::optional<Outcome> poll() override {
        if (!latest_) {
            return std::nullopt;
        }
        const DWORD waited = ::WaitForSingleObject(latest_.get(), 0);
        if (waited == WAIT_TIMEOUT) {
            return std::nullopt;
        }
        DWORD code = 0;
        const bool known = waited == WAIT_OBJECT_0 && ::GetExitCodeProcess(latest_.get(), &code);
        const DWORD error = ::GetLastError();
        latest_.reset();
        if (!known) {
            return Outcome{false, "无法得知结果：错误 " + std::to_string(error)};
        }
        return code == 0 ? Outcome{true, {}} : Outcome{false, "退出码 " + std::to_string(code)};
    }

  private:
    // Closing the handle of a command still running leaves it to run: it is taking the machine
    // down.
    win32handles::UniqueHandle latest_;
};

}  // namespace

std::unique_ptr<Launcher> makeSystemLauncher() {
    return std::make_unique<Win32Launcher>();
}

}  // namespace power

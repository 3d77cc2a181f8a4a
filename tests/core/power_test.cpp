// The POSIX launcher against fake `systemctl` scripts put first on PATH. The machines these tests
// run on have a real systemctl and the rights to use it, so every case makes sure that PATH finds
// the fake, or no systemctl at all, before it launches anything.
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <fstream>
#include <thread>

#include "power/launcher.h"
#include "temp_config_dir.h"

namespace fs = std::filesystem;
using power::Action;

// The systemctl the launcher will run: the first executable one along PATH, "" for none.
std::string systemctlOnPath() {
    std::string found(4096, '\0');
    FILE* shell = ::popen("command -v systemctl", "r");
    found.resize(std::fread(found.data(), 1, found.size(), shell));
    ::pclose(shell);
    return found;
}

class PosixLauncher : public testing::Test {
  protected:
    PosixLauncher() { ::setenv("PATH", (bin.string() + ":" + savedPath).c_str(), 1); }
    ~PosixLauncher() override {
        ::setenv("PATH", savedPath.c_str(), 1);
        while (::waitpid(-1, nullptr, 0) > 0) {
        }
    }
    // A fake that logs its arguments, then runs BODY.
    void fake(const std::string& body, fs::perms mode = fs::perms::owner_all) const {
        fs::create_directories(bin);
        std::ofstream(bin / "systemctl") << "#!/bin/sh\necho \"$@\" >> '" << log.string() << "'\n"
                                         << body << "\n";
        fs::permissions(bin / "systemctl", mode);
    }
    std::string logged() const { return testing_support::contentsOf(log); }

    testing_support::TempConfigDir scratch;
    const fs::path bin = scratch.root() / "bin", log = scratch.root() / "log";
    const std::string savedPath = std::getenv("PATH");
};

TEST_F(PosixLauncher, RunsTheVerbOnceWithoutATerminalAndReportsHowItEnded) {
    const std::tuple<Action, const char*, const char*, const char*> cases[] = {
        {Action::Shutdown, "exit 0", "", "poweroff\n"},
        {Action::Restart, "exit 0", "", "reboot\n"},
        {Action::Shutdown,
         "for fd in 0 1 2; do [ \"$(readlink /proc/$$/fd/$fd)\" = /dev/null ] || exit 4; done", "",
         "poweroff\n"},
        {Action::Shutdown, "exit 3", "退出码 3", "poweroff\n"},
        {Action::Shutdown, "kill -9 $$", "被信号 9 终止", "poweroff\n"},
    };
    for (const auto& [action, body, reason, verb] : cases) {
        fs::remove(log);
        fake(body);
        ASSERT_EQ(systemctlOnPath(), (bin / "systemctl\n").string());
        const auto launcher = power::makeSystemLauncher();
        ASSERT_EQ(launcher->start(action), std::nullopt);
        std::optional<power::Outcome> outcome;
        for (int i = 0; i < 500 && !outcome; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            outcome = launcher->poll();
        }
        ASSERT_TRUE(outcome.has_value()) << body;
        EXPECT_EQ(outcome->succeeded, *reason == '\0') << body;
        EXPECT_EQ(outcome->reason, reason);
        EXPECT_EQ(launcher->poll(), std::nullopt);
        EXPECT_EQ(logged(), verb);
        siginfo_t info{};
        EXPECT_NE(::waitid(P_ALL, 0, &info, WEXITED | WNOHANG | WNOWAIT), 0) << "not reaped";
    }
}

TEST_F(PosixLauncher, StartSaysWhyNothingCanRun) {
    ::setenv("PATH", bin.c_str(), 1);
    for (const char* reason : {"找不到 systemctl 命令", "没有执行权限"}) {
        ASSERT_EQ(systemctlOnPath(), "");
        const auto launcher = power::makeSystemLauncher();
        EXPECT_EQ(launcher->start(Action::Shutdown), reason);
        EXPECT_EQ(launcher->poll(), std::nullopt);
        EXPECT_EQ(logged(), "");
        fake("", fs::perms::owner_read | fs::perms::owner_write);
    }
}

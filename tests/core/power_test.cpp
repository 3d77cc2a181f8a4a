// The POSIX launcher against fake `systemctl` scripts put first on PATH. The machines these tests
// run on have a real systemctl and the rights to use it, so every case makes sure that PATH finds
// the fake, or no systemctl at all, before it launches anything.
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "power/launcher.h"

namespace {

namespace fs = std::filesystem;
using power::Action;

// The `systemctl` that posix_spawnp will run: the first executable one along PATH.
std::optional<fs::path> systemctlOnPath() {
    std::istringstream entries(std::getenv("PATH"));
    for (std::string entry; std::getline(entries, entry, ':');) {
        const fs::path candidate = fs::path(entry) / "systemctl";
        if (fs::is_regular_file(candidate) && ::access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
    }
    return std::nullopt;
}

class PosixLauncher : public testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "vorlix-power-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        ::setenv("PATH", (dir_.string() + ":" + savedPath_).c_str(), 1);
    }
    void TearDown() override {
        ::setenv("PATH", savedPath_.c_str(), 1);
        while (::waitpid(-1, nullptr, 0) > 0) {
        }
        fs::remove_all(dir_);
    }

    // A fake that logs its arguments, then runs `body`; `mode` its permissions.
    void fake(const std::string& body, fs::perms mode = fs::perms::owner_all) const {
        std::ofstream(dir_ / "systemctl")
            << "#!/bin/sh\necho \"$@\" >> '" << (dir_ / "log").string() << "'\n"
            << body << "\n";
        fs::permissions(dir_ / "systemctl", mode);
    }
    std::string log() const {
        std::ostringstream text;
        text << std::ifstream(dir_ / "log").rdbuf();
        return text.str();
    }
    std::optional<power::Outcome> awaitOutcome(power::Launcher& launcher) const {
        for (int i = 0; i < 500; ++i) {
            if (auto outcome = launcher.poll()) {
                return outcome;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return std::nullopt;
    }

    fs::path dir_;
    const std::string savedPath_ = std::getenv("PATH");
};

TEST_F(PosixLauncher, RunsTheVerbOnceAndReportsHowItEnded) {
    const struct {
        Action action;
        const char* body;
        bool succeeded;
        const char* reason;
        const char* logged;
    } cases[] = {
        {Action::Shutdown, "exit 0", true, "", "poweroff\n"},
        {Action::Restart, "exit 0", true, "", "reboot\n"},
        // The command has no terminal to talk to: whatever it says is dropped.
        {Action::Shutdown,
         "for fd in 0 1 2; do [ \"$(readlink /proc/$$/fd/$fd)\" = /dev/null ] || exit 4; done",
         true, "", "poweroff\n"},
        {Action::Shutdown, "exit 3", false, "退出码 3", "poweroff\n"},
        {Action::Shutdown, "kill -9 $$", false, "被信号 9 终止", "poweroff\n"},
    };
    for (const auto& c : cases) {
        fs::remove(dir_ / "log");
        fake(c.body);
        ASSERT_EQ(systemctlOnPath(), dir_ / "systemctl");
        const auto launcher = power::makeSystemLauncher();
        ASSERT_EQ(launcher->start(c.action), std::nullopt);
        const auto outcome = awaitOutcome(*launcher);
        ASSERT_TRUE(outcome.has_value()) << c.body;
        EXPECT_EQ(outcome->succeeded, c.succeeded) << c.body;
        EXPECT_EQ(outcome->reason, c.reason);
        EXPECT_EQ(launcher->poll(), std::nullopt);
        EXPECT_EQ(log(), c.logged);
        siginfo_t info{};
        EXPECT_NE(::waitid(P_ALL, 0, &info, WEXITED | WNOHANG | WNOWAIT), 0) << "not reaped";
    }
}

TEST_F(PosixLauncher, StartSaysWhyNothingCanRun) {
    ::setenv("PATH", dir_.c_str(), 1);
    const std::pair<bool, const char*> cases[] = {{false, "找不到 systemctl 命令"},
                                                  {true, "没有执行权限"}};
    for (const auto& [unexecutable, reason] : cases) {
        if (unexecutable) {
            fake("", fs::perms::owner_read | fs::perms::owner_write);
        }
        ASSERT_EQ(systemctlOnPath(), std::nullopt);
        const auto launcher = power::makeSystemLauncher();
        EXPECT_EQ(launcher->start(Action::Shutdown), reason);
        EXPECT_EQ(launcher->poll(), std::nullopt);
        EXPECT_EQ(log(), "");
    }
}

}  // namespace

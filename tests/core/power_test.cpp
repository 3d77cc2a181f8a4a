// The POSIX launcher against fake `systemctl` scripts put first on PATH. The machines these tests
// run on have a real systemctl and the rights to use it, so every test makes sure that PATH finds
// the fake, or nothing at all, before it launches anything.
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include <gtest/gtest.h>

#include "power/launcher.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using power::Action;
using power::Outcome;

// The `systemctl` that posix_spawnp will run: the first executable one along PATH.
std::optional<std::string> systemctlOnPath() {
    const char* path = std::getenv("PATH");
    std::istringstream entries(path != nullptr ? path : "");
    for (std::string entry; std::getline(entries, entry, ':');) {
        const fs::path candidate = fs::path(entry.empty() ? "." : entry) / "systemctl";
        if (fs::is_regular_file(candidate) && ::access(candidate.c_str(), X_OK) == 0) {
            return candidate.string();
        }
    }
    return std::nullopt;
}

// Whether this process has a child that is running or not yet reaped.
bool childrenRemain() {
    siginfo_t info{};
    return ::waitid(P_ALL, 0, &info, WEXITED | WNOHANG | WNOWAIT) == 0;
}

template <typename Condition>
bool within(std::chrono::milliseconds limit, Condition condition) {
    for (const auto end = std::chrono::steady_clock::now() + limit;
         std::chrono::steady_clock::now() < end; std::this_thread::sleep_for(10ms)) {
        if (condition()) {
            return true;
        }
    }
    return condition();
}

std::optional<Outcome> awaitOutcome(power::Launcher& launcher) {
    std::optional<Outcome> outcome;
    within(5s, [&] { return (outcome = launcher.poll()).has_value(); });
    return outcome;
}

class PosixLauncherTest : public testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "vorlix-power-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        if (const char* old = std::getenv("PATH")) {
            savedPath_ = old;
        }
        writeFake("");
        ::setenv("PATH", (dir_.string() + ":" + savedPath_.value_or("/usr/bin:/bin")).c_str(), 1);
        ASSERT_EQ(systemctlOnPath(), fake().string());
    }

    void TearDown() override {
        if (savedPath_) {
            ::setenv("PATH", savedPath_->c_str(), 1);
        } else {
            ::unsetenv("PATH");
        }
        if (dir_.empty()) {
            return;
        }
        while (::waitpid(-1, nullptr, 0) > 0) {
        }
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }

    fs::path fake() const { return dir_ / "systemctl"; }

    // The fake logs its arguments, then runs `body`. A running shell reads its script by name, so
    // a fake is never rewritten while one runs.
    void writeFake(const std::string& body, const fs::path& where) const {
        std::ofstream(where) << "#!/bin/sh\necho \"$@\" >> '" << (dir_ / "log").string() << "'\n"
                             << body << "\n";
        fs::permissions(where, fs::perms::owner_all);
    }
    void writeFake(const std::string& body) const { writeFake(body, fake()); }

    std::string log() const {
        std::ifstream in(dir_ / "log");
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    fs::path dir_;
    std::optional<std::string> savedPath_;
};

struct ActionCase {
    Action action;
    const char* verb;
};

void PrintTo(const ActionCase& row, std::ostream* out) {
    *out << row.verb;
}

class LaunchActionTest : public PosixLauncherTest,
                         public testing::WithParamInterface<ActionCase> {};

TEST_P(LaunchActionTest, RunsSystemctlWithTheVerbOnce) {
    const auto [action, verb] = GetParam();
    EXPECT_EQ(power::commandFor(action), (std::vector<std::string>{"systemctl", verb}));

    const auto launcher = power::makeSystemLauncher();
    ASSERT_EQ(launcher->start(action), std::nullopt);
    const auto outcome = awaitOutcome(*launcher);
    ASSERT_TRUE(outcome.has_value());
    EXPECT_TRUE(outcome->succeeded);
    EXPECT_EQ(log(), std::string(verb) + "\n");
    EXPECT_FALSE(childrenRemain());
}

INSTANTIATE_TEST_SUITE_P(Actions, LaunchActionTest,
                         testing::Values(ActionCase{Action::Shutdown, "poweroff"},
                                         ActionCase{Action::Restart, "reboot"}),
                         [](const auto& info) { return std::string(info.param.verb); });

struct EndingCase {
    const char* name;
    const char* body;
    bool succeeded;
    const char* reason;
};

// The command has no terminal to talk to: whatever it says is dropped.
constexpr const char* kStreamsOnDevNull =
    "for fd in 0 1 2; do [ \"$(readlink /proc/$$/fd/$fd)\" = /dev/null ] || exit 4; done";

void PrintTo(const EndingCase& row, std::ostream* out) {
    *out << row.body;
}

class OutcomeTest : public PosixLauncherTest, public testing::WithParamInterface<EndingCase> {};

TEST_P(OutcomeTest, IsReportedOnceAfterTheCommandEnded) {
    writeFake(GetParam().body);
    const auto launcher = power::makeSystemLauncher();
    ASSERT_EQ(launcher->start(Action::Shutdown), std::nullopt);
    const auto outcome = awaitOutcome(*launcher);
    ASSERT_TRUE(outcome.has_value());
    EXPECT_EQ(outcome->succeeded, GetParam().succeeded);
    EXPECT_EQ(outcome->reason, GetParam().reason);
    EXPECT_EQ(launcher->poll(), std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(Endings, OutcomeTest,
                         testing::Values(EndingCase{"Success", "exit 0", true, ""},
                                         EndingCase{"QuietStreams", kStreamsOnDevNull, true, ""},
                                         EndingCase{"ExitCode", "exit 3", false, "退出码 3"},
                                         EndingCase{"Signal", "kill -9 $$", false,
                                                    "被信号 9 终止"}),
                         [](const auto& info) { return std::string(info.param.name); });

struct RefusalCase {
    const char* name;
    bool unexecutableFake;  // a `systemctl` without the execute bit in the only folder of PATH
    const char* reason;
};

void PrintTo(const RefusalCase& row, std::ostream* out) {
    *out << row.reason;
}

class RefusalTest : public PosixLauncherTest, public testing::WithParamInterface<RefusalCase> {};

TEST_P(RefusalTest, StartSaysWhyAndRunsNothing) {
    const fs::path bare = dir_ / "bare";
    fs::create_directory(bare);
    if (GetParam().unexecutableFake) {
        writeFake("", bare / "systemctl");
        fs::permissions(bare / "systemctl", fs::perms::owner_read | fs::perms::owner_write);
    }
    ::setenv("PATH", bare.c_str(), 1);
    ASSERT_EQ(systemctlOnPath(), std::nullopt);

    const auto launcher = power::makeSystemLauncher();
    EXPECT_EQ(launcher->start(Action::Shutdown), GetParam().reason);
    EXPECT_EQ(launcher->poll(), std::nullopt);
    EXPECT_EQ(log(), "");
}

INSTANTIATE_TEST_SUITE_P(Refusals, RefusalTest,
                         testing::Values(RefusalCase{"NoSuchProgram", false,
                                                     "找不到 systemctl 命令"},
                                         RefusalCase{"NotExecutable", true, "没有执行权限"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace

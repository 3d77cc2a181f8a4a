// The launcher on POSIX systems: the command found on PATH, spawned with its standard streams on
// /dev/null, and reaped without waiting whenever the window asks how it went.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "power/launcher.h"

extern char** environ;

namespace power {
namespace {

std::string startFailure(int error, const std::string& program) {
    switch (error) {
        case ENOENT:
            return "找不到 " + program + " 命令";
        case EACCES:
            return "没有执行权限";
        default:
            return "无法启动 " + program + "：" + std::strerror(error);
    }
}

Outcome outcomeOf(int status) {
    if (WIFEXITED(status)) {
        const int code = WEXITSTATUS(status);
        return code == 0 ? Outcome{true, {}} : Outcome{false, "退出码 " + std::to_string(code)};
    }
    return {false, "被信号 " + std::to_string(WTERMSIG(status)) + " 终止"};
}

class SpawnActions {
  public:
    SpawnActions() {
        ::posix_spawn_file_actions_init(&actions_);
        ::posix_spawn_file_actions_addopen(&actions_, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
        ::posix_spawn_file_actions_addopen(&actions_, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        ::posix_spawn_file_actions_addopen(&actions_, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    }
    ~SpawnActions() { ::posix_spawn_file_actions_destroy(&actions_); }
    SpawnActions(const SpawnActions&) = delete;
    SpawnActions& operator=(const SpawnActions&) = delete;

    const posix_spawn_file_actions_t* get() const { return &actions_; }

  private:
    posix_spawn_file_actions_t actions_;
};

class PosixLauncher final : public Launcher {
  public:
    // A command still running is left to run: it is taking the machine down, and waiting for it
    // would freeze the window.
    ~PosixLauncher() override {
        if (latest_ > 0) {
            earlier_.push_back(latest_);
        }
        reapEarlier();
    }

    std::optional<std::string> start(Action action) override {
        std::vector<std::string> command = commandFor(action);
        std::vector<char*> argv;
        for (std::string& word : command) {
            argv.push_back(word.data());
        }
        argv.push_back(nullptr);
        const SpawnActions actions;
        pid_t child = 0;
        // glibc reports a failed exec (no such program, no right to run it) as the result here.
        const int error =
            ::posix_spawnp(&child, argv[0], actions.get(), nullptr, argv.data(), environ);
        if (error != 0) {
            return startFailure(error, command[0]);
        }
        if (latest_ > 0) {
            earlier_.push_back(latest_);
        }
        latest_ = child;
        return std::nullopt;
    }

    std::optional<Outcome> poll() override {
        reapEarlier();
        if (latest_ <= 0) {
            return std::nullopt;
        }
        int status = 0;
        const pid_t ended = ::waitpid(latest_, &status, WNOHANG);
        if (ended == 0) {
            return std::nullopt;
        }
        latest_ = 0;
        if (ended < 0) {
            return Outcome{false, std::string("无法得知结果：") + std::strerror(errno)};
        }
        return outcomeOf(status);
    }

  private:
    // Commands started before the latest one are only reaped, so that none lingers as a zombie.
    void reapEarlier() {
        std::erase_if(earlier_, [](pid_t pid) { return ::waitpid(pid, nullptr, WNOHANG) != 0; });
    }

    pid_t latest_ = 0;
    std::vector<pid_t> earlier_;
};

}  // namespace

std::unique_ptr<Launcher> makeSystemLauncher() {
    return std::make_unique<PosixLauncher>();
}

}  // namespace power

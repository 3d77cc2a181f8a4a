#include "mainwindow/clock.h"

#include <chrono>
#include <ctime>

namespace mainwindow {

LocalDateTime SystemClock::now() const {
    using namespace std::chrono;
    const auto sinceEpoch = system_clock::now().time_since_epoch();
    const std::time_t seconds = duration_cast<std::chrono::seconds>(sinceEpoch).count();
    const auto ms = duration_cast<milliseconds>(sinceEpoch).count() % 1000;
    // The window thread is the only caller, so the shared buffer of std::localtime is safe here.
    const std::tm* local = std::localtime(&seconds);
    if (local == nullptr) {
        return {1970, 1, 1, 0, 0, 0, 0};
    }
    return {local->tm_year + 1900, local->tm_mon + 1, local->tm_mday,      local->tm_hour,
            local->tm_min,         local->tm_sec,     static_cast<int>(ms)};
}

}  // namespace mainwindow

#include "mainwindow/clock.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <vector>

namespace mainwindow {

Instant SystemClock::now() const {
    using namespace std::chrono;
    const auto sinceEpoch = floor<milliseconds>(system_clock::now()).time_since_epoch();
    const auto seconds = floor<std::chrono::seconds>(sinceEpoch);
    return {seconds.count(), static_cast<int>((sinceEpoch - seconds).count())};
}

Moment SystemClock::localAt(std::int64_t seconds) const {
    const auto time = static_cast<std::time_t>(seconds);
    // The window thread is the only caller, so the shared buffer of std::localtime is safe here.
    const std::tm* local = std::localtime(&time);
    if (local == nullptr) {
        return fromSerialSeconds(seconds);
    }
    return {local->tm_year + 1900, local->tm_mon + 1, local->tm_mday,
            local->tm_hour,        local->tm_min,     local->tm_sec};
}

std::optional<std::int64_t> whenShown(const Clock& clock, const Moment& local,
                                      std::int64_t notBefore) {
    // A zone's offset from UTC changes at most once within a day either side of a date, so the
    // offsets in force a day before and a day after are the only ones that can show it.
    constexpr std::int64_t kDay = 86400;
    const std::int64_t wall = serialSeconds(local);
    std::vector<std::int64_t> shown;
    for (const std::int64_t probe : {wall - kDay, wall + kDay}) {
        const std::int64_t at = wall - (serialSeconds(clock.localAt(probe)) - probe);
        if (clock.localAt(at) == local && std::ranges::find(shown, at) == shown.end()) {
            shown.push_back(at);
        }
    }
    if (shown.empty()) {
        return std::nullopt;
    }
    std::ranges::sort(shown);
    const auto ahead =
        std::ranges::find_if(shown, [&](std::int64_t at) { return at >= notBefore; });
    return ahead != shown.end() ? *ahead : shown.back();
}

}  // namespace mainwindow

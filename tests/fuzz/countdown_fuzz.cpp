// Any twelve texts in the clock fields and the target lists: the countdown and the trigger never
// crash, no unit below the years is ever negative, and a moment comes back from its seconds. Input:
// twelve texts separated by \1.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "mainwindow/countdown.h"
#include "mainwindow/trigger.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    mainwindow::Fields clock;
    mainwindow::Fields target;
    for (std::size_t i = 0; i < 12; ++i) {
        const std::size_t end = input.find('\1');
        (i < 6 ? clock[i] : target[i - 6]) = input.substr(0, end);
        input.remove_prefix(end == std::string_view::npos ? input.size() : end + 1);
    }

    const auto now = mainwindow::toMoment(clock);
    const auto then = mainwindow::toMoment(target);
    if (!now || !then) {
        return 0;
    }
    (void)mainwindow::countdownCaption(
        *now, mainwindow::serialSeconds(*then) - mainwindow::serialSeconds(*now),
        power::Action::Shutdown);
    if (const auto left = mainwindow::remainingUntil(*now, *then)) {
        for (std::size_t unit = 1; unit < left->size(); ++unit) {
            if ((*left)[unit] < 0) {
                std::abort();
            }
        }
    }
    const std::int64_t seconds = mainwindow::serialSeconds(*now);
    if (mainwindow::fromSerialSeconds(seconds) != *now) {
        std::abort();
    }
    (void)mainwindow::isDue(seconds - 1, seconds, mainwindow::serialSeconds(*then));
    return 0;
}

#include "mainwindow/trigger.h"

namespace mainwindow {

bool isDue(std::optional<std::int64_t> lastSeen, std::int64_t now, std::int64_t target) {
    if (!lastSeen) {
        return now == target;
    }
    return *lastSeen < target && target <= now && now - target <= kCatchUpSeconds;
}

}  // namespace mainwindow

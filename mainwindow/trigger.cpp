#include "mainwindow/trigger.h"

namespace mainwindow {

bool isDue(std::int64_t lastSeen, std::int64_t now, std::int64_t target) {
    return lastSeen < target && target <= now && now - target <= kCatchUpSeconds;
}

}  // namespace mainwindow

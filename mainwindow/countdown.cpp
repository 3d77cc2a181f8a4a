#include "mainwindow/countdown.h"

namespace mainwindow {

namespace {

constexpr const char* kUnitWords[] = {" 年 ", " 月 ", " 日 ", " 时 ", " 分 ", " 秒 "};
constexpr const char* kTargetError = "【日期时间设置错误！！请重新设定！！！】";

}  // namespace

std::optional<Remaining> remainingUntil(const Moment& clock, const Moment& target) {
    if (serialSeconds(target) < serialSeconds(clock)) {
        return std::nullopt;
    }
    Remaining r{target.year - clock.year,     target.month - clock.month,
                target.day - clock.day,       target.hour - clock.hour,
                target.minute - clock.minute, target.second - clock.second};
    if (r[5] < 0) {
        r[5] += 60;
        --r[4];
    }
    if (r[4] < 0) {
        r[4] += 60;
        --r[3];
    }
    if (r[3] < 0) {
        r[3] += 24;
        --r[2];
    }
    std::int64_t lendingYear = target.year;
    int lendingMonth = target.month;
    while (r[2] < 0) {
        if (--lendingMonth == 0) {
            lendingMonth = 12;
            --lendingYear;
        }
        r[2] += daysInMonth(lendingYear, lendingMonth);
        --r[1];
    }
    while (r[1] < 0) {
        r[1] += 12;
        --r[0];
    }
    return r;
}

std::string remainingText(const Remaining& remaining) {
    std::size_t first = 0;
    while (first < remaining.size() && remaining[first] <= 0) {
        ++first;
    }
    std::string text;
    for (std::size_t i = first; i < remaining.size(); ++i) {
        text += std::to_string(remaining[i]) + kUnitWords[i];
    }
    return text;
}

std::string actionTag(power::Action action) {
    return action == power::Action::Restart ? "【重启】" : "【关机】";
}

std::string countdownCaption(const Moment& clock, std::optional<std::int64_t> secondsLeft,
                             power::Action action) {
    const std::optional<Remaining> left =
        secondsLeft && *secondsLeft >= 0
            ? remainingUntil(clock, fromSerialSeconds(serialSeconds(clock) + *secondsLeft))
            : std::nullopt;
    return "还剩：" + (left ? remainingText(*left) : std::string(kTargetError)) + actionTag(action);
}

std::string warningText(std::int64_t seconds, power::Action action) {
    return "将在 " + std::to_string(seconds) + " 秒后" + actionTag(action) + "，请保存您的工作。";
}

}  // namespace mainwindow

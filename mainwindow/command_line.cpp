#include "mainwindow/command_line.h"

#include "mainwindow/Form1.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>
#include <utility>

#include "common/whole_number.h"

#include "common/version.h"

namespace mainwindow {

namespace {

CommandLine failed(std::string_view why) {
    CommandLine result;
    result.error = "命令行参数错误：" + std::string(why);
    return result;
}

// Bytes of the UTF-8 character that text starts with. When it starts with none, minus the bytes
// that stand for one replacement character instead: one that starts no character, or the start of
// one that is cut short.
int characterAt(std::string_view text) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) {
        return 1;
    }
    // The second byte's range rules out overlong forms, surrogates and code points past U+10FFFF.
    const int length = lead >= 0xC2 && lead <= 0xDF   ? 2
                       : lead >= 0xE0 && lead <= 0xEF ? 3
                       : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                      : 1;
    unsigned char low = lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80;
    unsigned char high = lead == 0xED ? 0x9F : lead == 0xF4 ? 0x8F : 0xBF;
    for (int i = 1; i < length; ++i) {
        if (static_cast<std::size_t>(i) == text.size() || byte(i) < low || byte(i) > high) {
            return -i;
        }
        low = 0x80;
        high = 0xBF;
    }
    return length == 1 ? -1 : length;
}

// The user's text in quotation marks, cut to its first kQuotedCharacters characters and "……", and
// with "�" for bytes that are no UTF-8, so that a message stays short enough to read and is text
// that the terminal and the message box can show.
std::string quoted(std::string_view text) {
    constexpr int kQuotedCharacters = 40;
    std::string result = "“";
    for (int count = 0; !text.empty(); ++count) {
        if (count == kQuotedCharacters) {
            result += "……";
            break;
        }
        const int length = characterAt(text);
        result += length > 0 ? text.substr(0, static_cast<std::size_t>(length)) : "\uFFFD";
        text.remove_prefix(static_cast<std::size_t>(std::abs(length)));
    }
    return result + "”";
}

// Runs of digits between separators, the first one up to firstDigits long and the others up to
// two; nothing when the text is anything else.
std::optional<std::vector<std::string>> digitRuns(std::string_view text, char separator,
                                                  std::size_t firstDigits) {
    std::vector<std::string> runs;
    std::size_t most = firstDigits;
    for (;;) {
        const std::size_t end = text.find(separator);
        const std::string_view run = text.substr(0, end);
        if (run.empty() || run.size() > most ||
            run.find_first_not_of("0123456789") != std::string_view::npos) {
            return std::nullopt;
        }
        runs.emplace_back(run);
        if (end == std::string_view::npos) {
            return runs;
        }
        text.remove_prefix(end + 1);
        most = 2;
    }
}

// "YYYY-MM-DD HH:MM[:SS]", or "HH:MM[:SS]" for the next time the clock shows it. Nothing for a
// time the clock does not show on that day, as when summer time begins.
std::optional<Moment> readMoment(std::string_view text, const Clock& clock) {
    const Instant now = clock.now();
    const Moment today = clock.localAt(now.seconds);
    const std::size_t blank = text.find(' ');
    const bool timeOnly = blank == std::string_view::npos;
    const std::optional<std::vector<std::string>> time =
        digitRuns(timeOnly ? text : text.substr(blank + 1), ':', 2);
    if (!time || time->size() < 2 || time->size() > 3) {
        return std::nullopt;
    }
    Fields texts{std::to_string(today.year),
                 std::to_string(today.month),
                 std::to_string(today.day),
                 (*time)[0],
                 (*time)[1],
                 time->size() == 3 ? (*time)[2] : "0"};
    if (!timeOnly) {
        const std::optional<std::vector<std::string>> date =
            digitRuns(text.substr(0, blank), '-', 5);
        if (!date || date->size() != 3) {
            return std::nullopt;
        }
        std::copy(date->begin(), date->end(), texts.begin());
    }
    std::optional<Moment> moment = toMoment(texts);
    if (!moment) {
        return std::nullopt;
    }
    std::optional<std::int64_t> shown = whenShown(clock, *moment, now.seconds + 1);
    if (shown && timeOnly && *shown <= now.seconds) {
        moment = nextDay(*moment);
        shown = whenShown(clock, *moment, now.seconds + 1);
    }
    return shown ? moment : std::nullopt;
}

// "1h30m", "90m", "45s": hours, minutes and seconds, each at most once and in that order, as
// seconds; nothing for any other text or for no time at all.
std::optional<std::int64_t> readDuration(std::string_view text) {
    constexpr std::pair<char, std::int64_t> kUnits[] = {{'h', 3600}, {'m', 60}, {'s', 1}};
    std::int64_t total = 0;
    std::size_t unit = 0;  // the first unit that may still follow
    while (!text.empty()) {
        const std::size_t digits = text.find_first_not_of("0123456789");
        if (digits == 0 || digits == std::string_view::npos || digits > 9) {
            return std::nullopt;
        }
        while (unit < std::size(kUnits) && kUnits[unit].first != text[digits]) {
            ++unit;
        }
        if (unit == std::size(kUnits)) {
            return std::nullopt;
        }
        total += *common::wholeNumber(text.substr(0, digits)) * kUnits[unit++].second;
        text.remove_prefix(digits + 1);
    }
    return total > 0 ? std::optional(total) : std::nullopt;
}

}  // namespace

CommandLine parseCommandLine(const std::vector<std::string>& args, const Clock& clock,
                             const std::function<years::YearRange()>& offered) {
    CommandLine result;
    // The option that gave the target: --at or --in.
    std::string targetOption;
    if (std::ranges::any_of(args,
                            [](const std::string& a) { return a == "--help" || a == "-h"; })) {
        result.help = true;
        return result;
    }
    // A script asking which version is installed gets it whatever else the command line holds.
    if (std::ranges::find(args, "--version") != args.end()) {
        result.version = true;
        return result;
    }
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        bool* flag = arg == "--restart" ? &result.restart : arg == "--arm" ? &result.arm : nullptr;
        if (flag != nullptr) {
            if (*flag) {
                return failed(arg + " 只能出现一次。");
            }
            *flag = true;
            continue;
        }
        if (arg != "--at" && arg != "--in") {
            return failed("不认识的参数" + quoted(arg) + "。");
        }
        if (!targetOption.empty()) {
            return failed(arg == targetOption ? arg + " 只能出现一次。"
                                              : std::string("--at 与 --in 不能同时使用。"));
        }
        targetOption = arg;
        const bool in = arg == "--in";
        const char* what = in ? "时长" : "日期时间";
        if (i + 1 == args.size() || args[i + 1].starts_with("-")) {
            return failed(arg + " 后面缺少" + what + "。");
        }
        const std::string& value = args[++i];
        std::optional<Moment> moment;
        if (!in) {
            moment = readMoment(value, clock);
        } else if (const std::optional<std::int64_t> duration = readDuration(value)) {
            result.targetSecond = clock.now().seconds + *duration;
            moment = clock.localAt(*result.targetSecond);
        }
        if (!moment) {
            return failed(quoted(value) + "不是有效的" + what + "。");
        }
        const years::YearRange years = offered();
        if (moment->year < years.start || moment->year > years.end) {
            return failed("年份 " + std::to_string(moment->year) + " 不在年份列表的范围 " +
                          std::to_string(years.start) + "～" + std::to_string(years.end) +
                          " 之内（可在“参数设置”中修改）。");
        }
        result.target = Fields{std::to_string(moment->year),   std::to_string(moment->month),
                               std::to_string(moment->day),    std::to_string(moment->hour),
                               std::to_string(moment->minute), std::to_string(moment->second)};
    }
    if (result.arm && !result.target) {
        return failed("--arm 须与 --at 或 --in 一起使用。");
    }
    return result;
}

CommandLineDecision decideCommandLine(const std::vector<std::string>& args, const Clock& clock) {
    if (args.empty()) {
        return {};
    }
    CommandLine request = parseCommandLine(args, clock, years::yearsFromSettings);
    if (!request.error.empty()) {
        return {request.error + "\n\n" + commandLineUsage(), true, 2, {}};
    }
    if (request.help) {
        return {commandLineUsage(), false, 0, {}};
    }
    if (request.version) {
        return {versionText(), false, 0, {}};
    }
    return {std::nullopt, false, 0, std::move(request)};
}

std::string commandLineUsage() {
    return "用法：vorlix-shutdown [--at 日期时间 | --in 时长] [--restart] [--arm]\n"
           "　　　vorlix-shutdown --help\n"
           "　　　vorlix-shutdown --version\n"
           "\n"
           "--at 日期时间　填入目标时刻，如 \"2026-12-24 18:30:00\"，秒可省略。\n"
           "　　只写时间（如 \"18:30:00\"）指这一时刻下一次到来时：\n"
           "　　今天，已过则明天。\n"
           "--in 时长　填入从现在起经过这段时间后的时刻，如 90m、1h30m、45s、2h、\n"
           "　　1h5m30s（h 时、m 分、s 秒，各至多一次，依此顺序，须大于零）。\n"
           "　　不能与 --at 同时使用。\n"
           "--restart　选择“重启”（默认为“关机”）。\n"
           "--arm　窗口打开后即按下“生效”，须与 --at 或 --in 一起使用。\n"
           "--help 或 -h　显示本说明。\n"
           "--version　显示程序名称与版本。\n";
}

std::string versionText() {
    return "vorlix-shutdown (Vorlix定时关机软件) " VORLIX_VERSION "\n";
}

void applyCommandLine(forms::WindowHost& host, const CommandLine& request) {
    forms::Form& form = host.formOf(windows::kMainWindow);
    if (request.targetSecond) {
        dynamic_cast<Form1&>(*host.handlersOf(windows::kMainWindow))
            .typeTarget(*request.targetSecond);
    } else if (request.target) {
        for (std::size_t i = 0; i < std::size(kTargetLists); ++i) {
            form.setText(kTargetLists[i], (*request.target)[i]);
        }
    }
    if (request.restart) {
        form.setSelected(kRestartOption);
    }
    if (request.arm) {
        host.press(windows::kMainWindow, kArmButton);
    }
}

}  // namespace mainwindow

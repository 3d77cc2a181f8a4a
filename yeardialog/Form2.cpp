#include "yeardialog/Form2.h"

#include <optional>
#include <string>

#include "mainwindow/moment.h"
#include "settings/rwini.h"

namespace yeardialog {

namespace {

constexpr const char* kTitle = "提示";

// A year as typed in a box: a whole number from 1 to 9999, blanks around it allowed.
std::optional<std::int64_t> typedYear(std::string_view text) {
    const std::optional<std::int64_t> year = mainwindow::wholeNumber(text);
    return year && *year >= 1 && *year <= 9999 ? year : std::nullopt;
}

}  // namespace

Form2::Form2(forms::Form& form, forms::Application& app) : form_(form), app_(app) {}

void Form2::click(std::string_view control) {
    if (control == kOkButton) {
        Command1_Click();
    } else if (control == kDefaultButton) {
        Command2_Click();
    }
}

void Form2::Command1_Click() {
    // What is stored must be a range the main window can list at its next start.
    const std::optional<std::int64_t> start = typedYear(form_.text(kStartYearBox));
    const std::optional<std::int64_t> end = typedYear(form_.text(kEndYearBox));
    if (!start || !end || *start > *end) {
        app_.messageBox("年份设置错误！请输入1到9999之间的整数，且开始年份不大于结束年份。", kTitle,
                        forms::MessageIcon::None);
        return;
    }
    save(std::to_string(*start), std::to_string(*end), "年份设置修改成功！");
}

void Form2::Command2_Click() {
    save("", "", "已经恢复默认设置！");
}

void Form2::save(std::string_view start, std::string_view end, std::string_view done) {
    if (!rwini::WriteIniValues(rwini::kSection,
                               {{rwini::kStartYearKey, start}, {rwini::kEndYearKey, end}})) {
        // The main window stays as it is: reloading it would drop an armed run for nothing.
        app_.messageBox("年份设置保存失败！无法写入：" + rwini::GetIniPath(), kTitle,
                        forms::MessageIcon::None);
        return;
    }
    app_.unload(windows::kMainWindow);
    app_.messageBox(done, kTitle, forms::MessageIcon::None);
    app_.show(windows::kMainWindow);
}

forms::FormDefinition Form2Definition() {
    return {&Form2Table(), [](forms::Form& form, forms::Application& app) {
                return std::make_unique<Form2>(form, app);
            }};
}

}  // namespace yeardialog

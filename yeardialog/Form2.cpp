#include "yeardialog/Form2.h"

#include <optional>
#include <string>

#include "settings/rwini.h"
#include "settings/year_range.h"

namespace yeardialog {

namespace {

constexpr const char* kTitle = "提示";

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
    const std::optional<years::YearRange> range =
        years::typedYears(form_.text(kStartYearBox), form_.text(kEndYearBox));
    if (!range) {
        app_.messageBox("年份设置错误！请输入1到9999之间的整数，且开始年份不大于结束年份。", kTitle,
                        forms::MessageIcon::None);
        return;
    }
    save(range, "年份设置修改成功！");
}

void Form2::Command2_Click() {
    save(std::nullopt, "已经恢复默认设置！");
}

void Form2::save(const std::optional<years::YearRange>& range, std::string_view done) {
    if (!years::storeYears(range)) {
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

// The year-range dialog: sets the years the main window's year list offers, then rebuilds the main
// window so that they take effect at once.
#pragma once

#include <optional>
#include <string_view>

#include "common/window_names.h"
#include "forms/form.h"
#include "settings/year_range.h"

namespace yeardialog {

const forms::FormTable& Form2Table();

inline constexpr std::string_view kStartYearBox = "Text1";
inline constexpr std::string_view kEndYearBox = "Text2";
inline constexpr std::string_view kOkButton = "Command1";       // "确定"
inline constexpr std::string_view kDefaultButton = "Command2";  // "默认"

class Form2 final : public forms::Handlers {
  public:
    Form2(forms::Form& form, forms::Application& app);

    void click(std::string_view control) override;

    // The user pressed "确定": the two years typed are stored, if they make a range.
    void Command1_Click();
    // The user pressed "默认": the built-in range applies again.
    void Command2_Click();

  private:
    // Stores the range (none for the built-in one) and, when that worked, rebuilds the main window
    // around the message.
    void save(const std::optional<years::YearRange>& range, std::string_view done);

    forms::Form& form_;
    forms::Application& app_;
};

forms::FormDefinition Form2Definition();

}  // namespace yeardialog

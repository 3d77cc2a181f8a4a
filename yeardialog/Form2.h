// The year-range dialog: sets the years the main window's year list offers, then rebuilds the main
// window so that they take effect at once.
#pragma once

#include <string_view>

#include "forms/form.h"

namespace yeardialog {

const forms::FormTable& Form2Table();

class Form2 final : public forms::Handlers {
  public:
    Form2(forms::Form& form, forms::Application& app);

    void click(std::string_view control) override;

    void Command1_Click();
    void Command2_Click();

  private:
    // Stores both years and, when that worked, rebuilds the main window around the message.
    void save(std::string_view start, std::string_view end, std::string_view done);

    forms::Form& form_;
    forms::Application& app_;
};

forms::FormDefinition Form2Definition();

}  // namespace yeardialog

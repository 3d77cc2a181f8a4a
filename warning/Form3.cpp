#include "warning/Form3.h"

namespace warning {

void Form3::click(std::string_view control) {
    if (control == kRunNowButton) {
        Command1_Click();
    } else if (control == kCancelButton) {
        Command2_Click();
    } else if (control == kPostponeButton) {
        Command3_Click();
    }
}

// The main window closes the warning as it answers.
void Form3::Command1_Click() {
    if (Answers* mainWindow = link_.mainWindow) {
        mainWindow->runNow();
    }
}

void Form3::Command2_Click() {
    if (Answers* mainWindow = link_.mainWindow) {
        mainWindow->cancel();
    }
}

void Form3::Command3_Click() {
    if (Answers* mainWindow = link_.mainWindow) {
        mainWindow->postpone();
    }
}

forms::FormDefinition Form3Definition(Link& link) {
    return {&Form3Table(),
            [&link](forms::Form&, forms::Application&) { return std::make_unique<Form3>(link); }};
}

}  // namespace warning

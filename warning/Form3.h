// The last-minute warning: shown by the main window in the last minute before its action, it
// stays in front of every window without taking the keyboard focus, and offers to run the action
// at once, to put it off or to disarm.
#pragma once

#include <string_view>

#include "common/window_names.h"
#include "forms/form.h"

namespace warning {

const forms::FormTable& Form3Table();

inline constexpr std::string_view kMessage = "Label1";
inline constexpr std::string_view kRunNowButton = "Command1";    // "立即执行"
inline constexpr std::string_view kCancelButton = "Command2";    // "取消"
inline constexpr std::string_view kPostponeButton = "Command3";  // "推迟10分钟"

// What the warning's buttons, and the same items of the icon's menu, ask of the main window.
class Answers {
  public:
    // The armed action runs at once, as at its second.
    virtual void runNow() = 0;
    // The schedule is disarmed as "重置" disarms it.
    virtual void cancel() = 0;
    // The armed target moves ten minutes later; the run stays armed.
    virtual void postpone() = 0;

  protected:
    ~Answers() = default;
};

// How the warning and the icon reach the main window, which the year dialog may rebuild
// meanwhile: the program makes one before any window and gives it to all, and the main window
// answers through it while it is loaded.
struct Link {
    Answers* mainWindow = nullptr;
};

class Form3 final : public forms::Handlers {
  public:
    explicit Form3(Link& link) : link_(link) {}

    void click(std::string_view control) override;

    // The user pressed "立即执行".
    void Command1_Click();
    // The user pressed "取消".
    void Command2_Click();
    // The user pressed "推迟10分钟".
    void Command3_Click();

  private:
    Link& link_;
};

forms::FormDefinition Form3Definition(Link& link);

}  // namespace warning

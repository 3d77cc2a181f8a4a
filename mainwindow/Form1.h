// The main window: shows the clock, takes the target moment and the action, and runs the action
// at that moment.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "common/window_names.h"
#include "forms/form.h"
#include "mainwindow/clock.h"
#include "mainwindow/moment.h"
#include "power/keep_awake.h"
#include "power/launcher.h"
#include "settings/year_range.h"
#include "warning/Form3.h"

namespace mainwindow {

const forms::FormTable& Form1Table();

// The controls whose layout names do not say what they are for.
inline constexpr std::string_view kSyncButton = "Command1";      // "同步时间"
inline constexpr std::string_view kSettingsButton = "Command2";  // "参数设置"
inline constexpr std::string_view kArmButton = "Command3";       // "生效"
inline constexpr std::string_view kResetButton = "Command4";     // "重置"
inline constexpr std::string_view kExitButton = "Command5";      // "退出"
inline constexpr std::string_view kShutdownOption = "Option1";   // "关机"
inline constexpr std::string_view kRestartOption = "Option2";    // "重启"
inline constexpr std::string_view kStatusLine = "Label13";
// The clock's year to second, and the target's.
inline constexpr std::string_view kClockFields[] = {"Text1", "Text2", "Text3",
                                                    "Text4", "Text5", "Text6"};
inline constexpr std::string_view kTargetLists[] = {"Combo1", "Combo2", "Combo3",
                                                    "Combo4", "Combo5", "Combo6"};
inline constexpr std::string_view kClockTimer = "Timer1";
inline constexpr std::string_view kTriggerTimer = "Timer2";
inline constexpr std::string_view kCountdownTimer = "Timer3";

// What the main window uses beyond its own controls; owned by the caller, outliving the window.
struct Form1Services {
    Clock& clock;
    power::Launcher& launcher;
    power::KeepAwake& keepAwake;
    // Through which the last-minute warning reaches the window, also a rebuilt one.
    warning::Link& warning;
};

// How long after a whole second of the clock the window wakes, so that the clock has surely
// turned to the new second.
inline constexpr int kTickMarginMs = 5;

// How many seconds before the target second the warning shows.
inline constexpr std::int64_t kWarningSeconds = 60;

// How far "推迟10分钟" moves an armed target.
inline constexpr std::int64_t kPostponeSeconds = 600;

class Form1 final : public forms::Handlers, public warning::Answers {
  public:
    Form1(forms::Form& form, forms::Application& app, Form1Services services);
    // A window that goes (reloaded, closed, the program ending) no longer keeps the computer up.
    ~Form1() override;
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    void load() override { Form_Load(); }
    void click(std::string_view control) override;
    // One reading of the clock for the trigger, the clock fields and the countdown, in that order:
    // the action's command starts before anything else is done with the second.
    void tick() override;
    std::optional<std::chrono::milliseconds> nextTick() const override;
    // Minimized while armed, the window waits in the notification area where there is one.
    void minimized() override;

    // The warning's buttons: the action now, as at the target second (once, and only while
    // armed), the same as "重置", and the armed target ten minutes later.
    void runNow() override;
    void cancel() override;
    void postpone() override;

    // Types the local date and time of that second into the target lists. Arming takes that very
    // second while they show it: of the two seconds the clock shows an hour twice, the lists alone
    // name only the first still ahead.
    void typeTarget(std::int64_t second);

    // The window was loaded: at the program's start, or rebuilt by the year dialog.
    void Form_Load();
    // A second went by: the clock fields show it.
    void Timer1_Timer();
    // A second went by while armed: the action runs if its second has come.
    void Timer2_Timer();
    // A second went by while armed: the status line and the warning count down.
    void Timer3_Timer();
    // The user pressed "同步时间": the target becomes the clock's reading.
    void Command1_Click();
    // The user pressed "参数设置": the year dialog opens.
    void Command2_Click();
    // The user pressed "生效": the target and the action are frozen and the schedule is armed.
    void Command3_Click();
    // The user pressed "重置": the schedule is disarmed and the target may be edited again.
    void Command4_Click();
    // The user pressed "退出": the program ends, running nothing.
    void Command5_Click();
    // The user clicked the status line: the About message shows.
    void Label13_Click();

  private:
    void FillTargetLists();
    // The clock's reading for this wake-up or click.
    void readClock();
    // The target lists as a second of the clock, of those still ahead the first it shows them at.
    void resolveTarget();
    power::Action chosenAction() const;
    void setInputsEnabled(bool on);
    void launch(power::Action action);
    void reportOutcome();
    // Seconds from the clock's reading to the armed target; nothing when the clock never shows it.
    std::optional<std::int64_t> secondsLeft() const;
    // Shows the warning in the last minute before the target, with the seconds left, and closes
    // it outside that minute.
    void warn();
    void closeWarning();
    // The icon's tooltip says what the status line says, and its items are there while they apply.
    void showInNotificationArea();

    forms::Form& form_;
    forms::Application& app_;
    Form1Services services_;
    Instant now_;
    // The years the year list offers.
    years::YearRange offered_;
    // The second typeTarget typed last.
    std::optional<std::int64_t> typed_;
    // The armed target, in the clock's seconds; nothing when the lists name no second it shows.
    std::optional<std::int64_t> target_;
    // The clock second the trigger saw last in this armed run.
    std::int64_t lastSeen_ = 0;
    // The action started in this armed run whose outcome is still to come.
    std::optional<power::Action> pending_;
    // The warning was shown in this armed run: closed by the user, it does not come back.
    bool warned_ = false;
    // The icon goes into the notification area at the wake-up that follows the window's showing:
    // where the desktop takes its time to place it, the window does not wait for that.
    bool iconDue_ = true;
};

forms::FormDefinition Form1Definition(Form1Services services);

}  // namespace mainwindow

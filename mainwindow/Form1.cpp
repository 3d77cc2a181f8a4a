#include "mainwindow/Form1.h"

#include <string>

#include "mainwindow/about.h"
#include "mainwindow/countdown.h"
#include "mainwindow/trigger.h"
#include "settings/year_range.h"
#include "trayicon/TrayIcon.h"

namespace mainwindow {

namespace {

constexpr const char* kMessageTitle = "提示";

void fillList(forms::Form& form, std::string_view list, int first, int last, int selected) {
    for (int value = first; value <= last; ++value) {
        form.addItem(list, std::to_string(value));
    }
    form.setListIndex(list, selected);
}

// Year to second, unpadded, into the six clock fields or target lists.
void showUnits(forms::Form& form, const std::string_view (&controls)[6], const Moment& m) {
    const std::int64_t values[] = {m.year, m.month, m.day, m.hour, m.minute, m.second};
    for (std::size_t i = 0; i < std::size(controls); ++i) {
        form.setText(controls[i], std::to_string(values[i]));
    }
}

}  // namespace

Form1::Form1(forms::Form& form, forms::Application& app, Form1Services services)
    : form_(form), app_(app), services_(services) {
    services_.warning.mainWindow = this;
}

Form1::~Form1() {
    services_.keepAwake.release();
    // A rebuilt window has already taken the link over.
    if (services_.warning.mainWindow == this) {
        services_.warning.mainWindow = nullptr;
    }
}

void Form1::click(std::string_view control) {
    if (control == kSyncButton) {
        Command1_Click();
    } else if (control == kSettingsButton) {
        Command2_Click();
    } else if (control == kArmButton) {
        Command3_Click();
    } else if (control == kResetButton) {
        Command4_Click();
    } else if (control == kExitButton) {
        Command5_Click();
    } else if (control == kStatusLine) {
        Label13_Click();
    }
    showInNotificationArea();
}

void Form1::tick() {
    readClock();
    if (form_.enabled(kTriggerTimer)) {
        Timer2_Timer();
    }
    if (form_.enabled(kClockTimer)) {
        Timer1_Timer();
    }
    if (form_.enabled(kCountdownTimer)) {
        Timer3_Timer();
    }
    reportOutcome();
    if (iconDue_) {
        iconDue_ = false;
        app_.show(windows::kTrayIcon);
    }
    showInNotificationArea();
}

void Form1::minimized() {
    if (form_.enabled(kTriggerTimer) && app_.loaded(windows::kTrayIcon)) {
        app_.hide(windows::kMainWindow);
    }
}

void Form1::showInNotificationArea() {
    if (!app_.loaded(windows::kTrayIcon)) {
        return;
    }
    forms::Form& icon = app_.formOf(windows::kTrayIcon);
    icon.setText(trayicon::kTooltip, form_.text(kStatusLine));
    const bool armed = form_.enabled(kTriggerTimer);
    icon.setEnabled(trayicon::kRunNowItem, armed);
    icon.setEnabled(trayicon::kPostponeItem, armed && target_);
    icon.setEnabled(trayicon::kResetItem, armed);
}

std::optional<std::chrono::milliseconds> Form1::nextTick() const {
    if (iconDue_) {
        return std::chrono::milliseconds(0);
    }
    const Instant now = services_.clock.now();
    // A target second that has already come (armed in it, or a wake-up that came late) is not
    // left waiting for the next whole second.
    if (form_.enabled(kTriggerTimer) && target_ && isDue(lastSeen_, now.seconds, *target_)) {
        return std::chrono::milliseconds(0);
    }
    return std::chrono::milliseconds(1000 - now.millisecond + kTickMarginMs);
}

void Form1::Form_Load() {
    // The window shows the real time from its first moment, so that "同步时间" pressed before the
    // first tick copies the clock, not the placeholders of the layout.
    readClock();
    Timer1_Timer();
    FillTargetLists();
}

void Form1::readClock() {
    now_ = services_.clock.now();
}

void Form1::FillTargetLists() {
    offered_ = years::yearsFromSettings();
    fillList(form_, kTargetLists[0], offered_.start, offered_.end, 0);
    fillList(form_, kTargetLists[1], 1, 12, 8);
    fillList(form_, kTargetLists[2], 1, 31, 10);
    fillList(form_, kTargetLists[3], 0, 23, 11);
    fillList(form_, kTargetLists[4], 0, 59, 45);
    fillList(form_, kTargetLists[5], 0, 59, 33);
}

void Form1::Timer1_Timer() {
    // One reading for all six fields, so they always show one moment.
    showUnits(form_, kClockFields, services_.clock.localAt(now_.seconds));
}

void Form1::Timer2_Timer() {
    const bool due = target_ && isDue(lastSeen_, now_.seconds, *target_);
    lastSeen_ = now_.seconds;
    if (due) {
        launch(chosenAction());
    }
}

void Form1::Timer3_Timer() {
    form_.setText(kStatusLine, countdownCaption(services_.clock.localAt(now_.seconds),
                                                secondsLeft(), chosenAction()));
    warn();
}

void Form1::Command1_Click() {
    for (std::size_t i = 0; i < std::size(kClockFields); ++i) {
        form_.setText(kTargetLists[i], form_.text(kClockFields[i]));
    }
    form_.setText(kStatusLine, "执行了【同步时间】");
    if (form_.enabled(kTriggerTimer)) {
        readClock();
        resolveTarget();
    }
}

void Form1::Command2_Click() {
    app_.show(windows::kYearDialog);
    form_.setText(kStatusLine, "执行了【参数设置】");
}

void Form1::Command3_Click() {
    setInputsEnabled(false);
    form_.setEnabled(kTriggerTimer, true);
    form_.setEnabled(kArmButton, false);
    form_.setText(kStatusLine, "定时关机执行中……");
    form_.setEnabled(kCountdownTimer, true);
    // The clock's current second counts as not yet reached: a target equal to it fires at once,
    // one before it never does. It is read from the clock itself, since the fields may have been
    // edited or be up to a second old.
    readClock();
    lastSeen_ = now_.seconds - 1;
    resolveTarget();
    pending_.reset();
    // A computer that falls asleep on its own would sleep through the target.
    services_.keepAwake.hold();
    warn();
}

void Form1::resolveTarget() {
    Fields texts;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        texts[i] = form_.text(kTargetLists[i]);
    }
    const std::optional<Moment> target = toMoment(texts);
    if (target && typed_ && services_.clock.localAt(*typed_) == *target) {
        target_ = typed_;
        return;
    }
    target_ = target ? whenShown(services_.clock, *target, now_.seconds) : std::nullopt;
}

void Form1::typeTarget(std::int64_t second) {
    showUnits(form_, kTargetLists, services_.clock.localAt(second));
    typed_ = second;
}

void Form1::postpone() {
    if (!form_.enabled(kTriggerTimer) || !target_) {
        return;
    }
    const std::int64_t later = *target_ + kPostponeSeconds;
    const std::int64_t year = services_.clock.localAt(later).year;
    if (year < offered_.start || year > offered_.end) {
        app_.messageBox("无法推迟！推迟后的年份 " + std::to_string(year) + " 不在年份列表的范围 " +
                            std::to_string(offered_.start) + "～" + std::to_string(offered_.end) +
                            " 之内，定时关机保持不变。",
                        kMessageTitle, forms::MessageIcon::None);
        return;
    }
    typeTarget(later);
    target_ = later;
    // The status line and the warning follow at once: closed now, the warning comes back in the
    // last minute before the new second.
    readClock();
    Timer3_Timer();
    showInNotificationArea();
}

void Form1::Command4_Click() {
    form_.setEnabled(kTriggerTimer, false);
    setInputsEnabled(true);
    form_.setEnabled(kArmButton, true);
    form_.setEnabled(kCountdownTimer, false);
    form_.setText(kStatusLine, "定时关机被重置……（请重新设定）");
    pending_.reset();
    services_.keepAwake.release();
    closeWarning();
}

void Form1::Command5_Click() {
    app_.end();
}

void Form1::Label13_Click() {
    app_.messageBox(AboutText(), kAboutTitle, forms::MessageIcon::Information);
}

power::Action Form1::chosenAction() const {
    return form_.selected(kRestartOption) ? power::Action::Restart : power::Action::Shutdown;
}

void Form1::setInputsEnabled(bool on) {
    for (std::string_view list : kTargetLists) {
        form_.setEnabled(list, on);
    }
    form_.setEnabled(kShutdownOption, on);
    form_.setEnabled(kRestartOption, on);
}

void Form1::launch(power::Action action) {
    // The command first: closing a window can wait on the desktop, and releasing the keep-awake on
    // the system bus, for longer than the user's second allows.
    const std::optional<std::string> failure = services_.launcher.start(action);
    // One launch per armed run: the trigger and the countdown stop here, whatever the clock does
    // next, and only "重置" and "生效" start them again.
    form_.setEnabled(kTriggerTimer, false);
    form_.setEnabled(kCountdownTimer, false);
    closeWarning();
    services_.keepAwake.release();
    if (failure) {
        form_.setText(kStatusLine, actionTag(action) + "命令执行失败！" + *failure);
        return;
    }
    pending_ = action;
    form_.setText(kStatusLine, "已执行" + actionTag(action) + "命令……");
}

void Form1::reportOutcome() {
    if (!pending_) {
        return;
    }
    const std::optional<power::Outcome> outcome = services_.launcher.poll();
    if (!outcome) {
        return;
    }
    if (!outcome->succeeded) {
        form_.setText(kStatusLine, actionTag(*pending_) + "命令执行失败！" + outcome->reason);
    }
    pending_.reset();
}

void Form1::runNow() {
    if (form_.enabled(kTriggerTimer)) {
        launch(chosenAction());
    }
    showInNotificationArea();
}

void Form1::cancel() {
    Command4_Click();
    showInNotificationArea();
}

std::optional<std::int64_t> Form1::secondsLeft() const {
    return target_ ? std::optional(*target_ - now_.seconds) : std::nullopt;
}

void Form1::warn() {
    const std::int64_t left = secondsLeft().value_or(0);
    if (left < 1 || left > kWarningSeconds) {
        closeWarning();
        return;
    }
    if (!warned_) {
        warned_ = true;
        app_.show(windows::kWarning);
    }
    if (app_.loaded(windows::kWarning)) {
        app_.formOf(windows::kWarning)
            .setText(warning::kMessage, warningText(left, chosenAction()));
    }
}

void Form1::closeWarning() {
    warned_ = false;
    app_.unload(windows::kWarning);
}

forms::FormDefinition Form1Definition(Form1Services services) {
    return {&Form1Table(), [services](forms::Form& form, forms::Application& app) {
                return std::make_unique<Form1>(form, app, services);
            }};
}

}  // namespace mainwindow

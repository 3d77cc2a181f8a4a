// The main window: shows the clock, takes the target moment and the action, and runs the action
// at that moment.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "forms/form.h"
#include "mainwindow/clock.h"
#include "mainwindow/moment.h"
#include "power/keep_awake.h"
#include "power/launcher.h"

namespace mainwindow {

const forms::FormTable& Form1Table();

// What the main window uses beyond its own controls; owned by the caller, outliving the window.
struct Form1Services {
    Clock& clock;
    power::Launcher& launcher;
    power::KeepAwake& keepAwake;
};

// How long after a whole second of the clock the window wakes, so that the clock has surely
// turned to the new second.
inline constexpr int kTickMarginMs = 5;

class Form1 final : public forms::Handlers {
  public:
    Form1(forms::Form& form, forms::Application& app, Form1Services services);
    // A window that goes (reloaded, closed, the program ending) no longer keeps the computer up.
    ~Form1() override;
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    void load() override { Form_Load(); }
    void click(std::string_view control) override;
    // The clock first, then the trigger and the countdown of the same second.
    void tick() override;
    std::optional<std::chrono::milliseconds> nextTick() const override;

    void Form_Load();
    void Timer1_Timer();
    void Timer2_Timer();
    void Timer3_Timer();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Label13_Click();

  private:
    void FillTargetLists();
    Fields clockFields() const;
    Fields targetFields() const;
    power::Action chosenAction() const;
    void setInputsEnabled(bool on);
    void launch(power::Action action);
    void reportOutcome();

    forms::Form& form_;
    forms::Application& app_;
    Form1Services services_;
    // The clock second the trigger saw last in this armed run, in serial seconds.
    std::optional<std::int64_t> lastSeen_;
    // The action started in this armed run whose outcome is still to come.
    std::optional<power::Action> pending_;
};

forms::FormDefinition Form1Definition(Form1Services services);

}  // namespace mainwindow

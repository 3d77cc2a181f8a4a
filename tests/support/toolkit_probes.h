// A toolkit's main window under handlers that record its clicks (and its minimizing) and ask for a
// wake-up every 10 ms.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "mainwindow/Form1.h"
#include "trayicon/TrayIcon.h"
#include "warning/Form3.h"
#include "yeardialog/Form2.h"

template <typename App>
struct OnToolkit {
    struct Recorder final : forms::Handlers {
        explicit Recorder(OnToolkit& t) : t(t) {}
        using ms = std::chrono::milliseconds;
        void click(std::string_view control) override { t.onClick(control); }
        void tick() override { ++t.ticks; }
        void minimized() override { t.clicks.emplace_back("minimized"); }
        std::optional<ms> nextTick() const override { return ms(10); }
        OnToolkit& t;
    };
    OnToolkit() { show(mainwindow::Form1Table()); }
    void show(const forms::FormTable& table) {
        app.define(table.name,
                   {&table, [this](auto&, auto&) { return std::make_unique<Recorder>(*this); }});
        app.show(table.name);
    }
    // A box's modal loop that stopped the window's wake-ups would make the program fire late.
    void showBoxesOnClick() {
        onClick = [this](auto) {
            for (auto icon : {forms::MessageIcon::None, forms::MessageIcon::Information,
                              forms::MessageIcon::Error}) {
                app.messageBox("第一行\r\n  第二行 ", "Quenly作品", icon);
            }
        };
    }
    // Enter presses the focused push button, else "确定"; Escape closes the dialog only. Returns
    // the windows still loaded and the buttons pressed.
    std::string pressEnterAndEscape(
        const std::function<void(const char*, const char*, bool)>& press) {
        show(yeardialog::Form2Table());
        for (auto [form, name, enter] : {std::tuple{"Form2", "Text1", true},
                                         {"Form2", "Command2", true},
                                         {"Form1", "Text1", false},
                                         {"Form2", "Text2", false}}) {
            press(form, name, enter);
        }
        std::string seen = app.loaded("Form1") ? "Form1" : "";
        seen += app.loaded("Form2") ? " Form2" : "";
        for (const std::string& click : clicks) {
            seen += " " + click;
        }
        return seen;
    }
    std::vector<std::string> clicks;
    int ticks = 0;
    std::function<void(std::string_view)> onClick = [this](auto c) { clicks.emplace_back(c); };
    App app;
};

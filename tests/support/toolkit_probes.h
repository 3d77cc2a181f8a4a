// A toolkit's main window under handlers that record what reaches them and ask for a wake-up
// every 10 ms.
#pragma once

#include <gtest/gtest.h>

#include "mainwindow/Form1.h"
#include "memory_host.h"
#include "warning/Form3.h"
#include "yeardialog/Form2.h"

template <typename App>
struct OnToolkit : testing::Test {
    struct Recorder final : forms::Handlers {
        explicit Recorder(OnToolkit& t) : t(t) {}
        void click(std::string_view control) override {
            t.clicks.emplace_back(control);
            t.onClick();
        }
        void tick() override { ++t.ticks; }
        std::optional<std::chrono::milliseconds> nextTick() const override {
            return std::chrono::milliseconds(10);
        }
        OnToolkit& t;
    };
    OnToolkit() { show(mainwindow::Form1Table()); }
    void show(const forms::FormTable& table) {
        app.define(table.name,
                   {&table, [this](auto&, auto&) { return std::make_unique<Recorder>(*this); }});
        app.show(table.name);
    }
    void showBoxesOnClick() {
        onClick = [this] {
            for (auto icon : {forms::MessageIcon::None, forms::MessageIcon::Information,
                              forms::MessageIcon::Error}) {
                app.messageBox("第一行\r\n  第二行 ", "Quenly作品", icon);
            }
        };
    }
    std::vector<std::string> clicks;
    int ticks = 0;
    std::function<void()> onClick = [] {};
    App app;

    // After what handlers do to it, a toolkit's form must read as the in-memory one.
    static std::string readAfterCalls(forms::Form& form) {
        form.addItem("Combo1", "2013");  // Qt's combo box would select it
        form.addItem("Combo2", "2014");
        form.setListIndex("Combo2", 0);
        const std::string picked = form.text("Combo2");
        form.setText("Combo2", "20");  // selects no item
        form.setSelected("Option2");
        form.setEnabled("Frame1", false);  // its controls keep their own switches
        const auto n = [](int value) { return " " + std::to_string(value); };
        return form.text("Combo1") + n(form.listIndex("Combo1")) + " " + picked + " " +
               form.text("Combo2") + n(form.listIndex("Combo2")) + n(form.selected("Option1")) +
               n(form.enabled("Frame1")) + n(form.enabled("Combo1"));
    }
};

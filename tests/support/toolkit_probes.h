// The cases every toolkit must pass, run through a driver that acts on its windows as a user would.
// A driver has `app`, `window(form)`, `shown(window)`, `alive(window)`, `click(form, control)`,
// `key(form, control, enter)`, `closeBox(window)`, `ends(act)`: whether the event loop ended while
// `act` ran, `answeringBoxes(act)`: "title|text|icon|button|modal" of each box answered meanwhile,
// and `kLineBreak`, `kLastWindowEnds`.
#pragma once

#include <gtest/gtest.h>

#include "mainwindow/Form1.h"
#include "memory_host.h"
#include "yeardialog/Form2.h"

namespace testing_support {

struct Recorded {
    forms::Form* form = nullptr;  // of the window shown last
    std::vector<std::string> clicks;
    int ticks = 0;
    std::optional<std::chrono::milliseconds> next;
    std::function<void(std::string_view)> onClick = [](std::string_view) {};
};

// The driver comes last, so that its windows' handlers go before what they record.
template <typename Driver>
class ToolkitTest : public testing::Test, public Recorded, public Driver {
  protected:
    struct Recorder final : forms::Handlers {
        explicit Recorder(Recorded& recorded) : r(recorded) {}
        void click(std::string_view control) override {
            r.clicks.emplace_back(control);
            r.onClick(control);
        }
        void tick() override { ++r.ticks; }
        std::optional<std::chrono::milliseconds> nextTick() const override { return r.next; }
        Recorded& r;
    };
    ToolkitTest() { show(mainwindow::Form1Table()); }
    void show(const forms::FormTable& table) {
        this->app.define(table.name, {&table, [this](forms::Form& f, forms::Application&) {
                                          form = &f;
                                          return std::make_unique<Recorder>(*this);
                                      }});
        this->app.show(table.name);
    }
};
TYPED_TEST_SUITE_P(ToolkitTest);

// Message boxes are modal and have the Chinese button; the wake-ups go on while one is up.
TYPED_TEST_P(ToolkitTest, ClicksWakeUpsAndMessageBoxes) {
    this->next = std::chrono::milliseconds(10);
    int ticksDuringBoxes = 0;
    this->onClick = [&](std::string_view clicked) {
        const int before = this->ticks;
        for (auto icon : {forms::MessageIcon::None, forms::MessageIcon::Information,
                          forms::MessageIcon::Error}) {
            if (clicked == "Label13") {
                this->app.messageBox("第一行\r\n  第二行 ", "Quenly作品", icon);
            }
        }
        ticksDuringBoxes += this->ticks - before;
    };
    const std::vector<std::string> boxes = this->answeringBoxes([&] {
        this->click("Form1", "Option2");
        this->click("Form1", "Label13");
    });
    EXPECT_EQ(this->clicks, (std::vector<std::string>{"Option2", "Label13"}));
    EXPECT_TRUE(this->form->selected("Option2") && ticksDuringBoxes > 0);
    const std::string text =
        std::string("Quenly作品|第一行") + TypeParam::kLineBreak + "  第二行 |";
    EXPECT_EQ(boxes,
              (std::vector<std::string>{text + "NoIcon|确定|modal", text + "Information|确定|modal",
                                        text + "Critical|确定|modal"}));
}

// Unloaded by its own handler, a window is hidden at once and goes once the handler is done;
// closed by its title bar, it goes too, and the end leaves the event loop.
TYPED_TEST_P(ToolkitTest, ClosesAndEnds) {
    auto unloaded = this->window("Form1");
    this->onClick = [&](std::string_view) {
        this->app.unload("Form1");
        EXPECT_FALSE(this->shown(unloaded));
        this->app.show("Form1");
    };
    EXPECT_FALSE(this->ends([&] { this->click("Form1", "Command1"); }));
    EXPECT_FALSE(this->alive(unloaded));
    auto closed = this->window("Form1");
    EXPECT_EQ(this->ends([&] { this->closeBox(closed); }), TypeParam::kLastWindowEnds);
    EXPECT_FALSE(this->app.loaded("Form1") || this->alive(closed));
    this->show(mainwindow::Form1Table());
    this->onClick = [&](std::string_view) { this->app.end(); };
    EXPECT_TRUE(this->ends([&] { this->click("Form1", "Command5"); }));
}

// Enter presses the push button that has the focus, else the year dialog's "确定"; Escape closes
// the dialog as its close box does, and leaves the main window alone.
TYPED_TEST_P(ToolkitTest, KeysOfADialog) {
    this->show(yeardialog::Form2Table());
    this->key("Form2", "Text1", true);
    this->key("Form2", "Command2", true);
    this->key("Form1", "Combo1", false);
    this->key("Form2", "Text2", false);
    EXPECT_TRUE(this->app.loaded("Form1") && !this->app.loaded("Form2"));
    EXPECT_EQ(this->clicks, (std::vector<std::string>{"Command1", "Command2"}));
}

// What the form interface reads of the main window as built and after what handlers do to it.
TYPED_TEST_P(ToolkitTest, FormReadsAsTheMemoryForm) {
    MemoryForm memory(mainwindow::Form1Table());
    std::vector<std::string> lines[2];
    for (forms::Form* form : {this->form, static_cast<forms::Form*>(&memory)}) {
        const auto read = [&] {
            for (const forms::Control& c : mainwindow::Form1Table().controls) {
                std::string line = c.name + (form->enabled(c.name) ? " on " : " off ");
                line += c.kind == forms::Kind::Timer ? "" : form->text(c.name);
                if (c.kind == forms::Kind::OptionButton && form->selected(c.name)) {
                    line += " selected";
                }
                if (c.kind == forms::Kind::ComboBox) {
                    line += " " + std::to_string(form->listIndex(c.name));
                    for (const std::string& item : form->items(c.name)) {
                        line += "," + item;
                    }
                }
                lines[form == &memory].push_back(line);
            }
        };
        read();
        for (const char* item : {"2013", "2014"}) {
            form->addItem("Combo1", item);  // Qt would select the first item
            form->addItem("Combo2", item);
        }
        form->setListIndex("Combo2", 1);
        form->setText("Combo2", "2014");  // a text of its own selects no item
        for (const char* name : {"Label13", "Frame3", "Command1", "Option2", "Text4"}) {
            form->setText(name, "改");
        }
        for (const char* name : {"Timer1", "Timer2", "Combo1", "Command3", "Frame1"}) {
            form->setEnabled(name, !form->enabled(name));  // a frame keeps its controls' own
        }
        form->setSelected("Option2");
        read();
    }
    EXPECT_EQ(lines[0], lines[1]);
}

REGISTER_TYPED_TEST_SUITE_P(ToolkitTest, ClicksWakeUpsAndMessageBoxes, ClosesAndEnds, KeysOfADialog,
                            FormReadsAsTheMemoryForm);

}  // namespace testing_support

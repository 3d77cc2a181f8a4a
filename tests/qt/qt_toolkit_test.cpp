// What only the Qt windows can get wrong; the window host and what the pixel and end-to-end tests
// see are tested elsewhere.
#include <QtTest>
#include <QtWidgets>

#include "toolkit_probes.h"
#include "toolkits/qt/qt_application.h"

void PrintTo(const QString& text, std::ostream* out) {
    *out << text.toStdString();
}

struct QtToolkit : OnToolkit<qtforms::QtApplication> {
    QWidget* control(const char* form, const char* name) {
        return app.window(form)->findChild<QWidget*>(name);
    }
    // Whether the event loop ends while `act` runs in it.
    static bool ends(const std::function<void()>& act) {
        QObject scope;
        QTimer::singleShot(200, &scope, [] { QCoreApplication::exit(1); });
        QTimer::singleShot(0, act);
        return QCoreApplication::exec() == 0;
    }
};

// A box's modal loop that stopped the window's wake-ups would make the program fire late.
TEST_F(QtToolkit, MessageBoxesLetTheWakeUpsGoOn) {
    std::vector<QString> boxes;
    QTimer answer;
    answer.callOnTimeout([&] {
        auto* box = static_cast<QMessageBox*>(QApplication::activeModalWidget());
        boxes.push_back(box->windowTitle() + '|' + box->text() + '|' +
                        QString::number(box->icon()) + '|' + box->buttons().front()->text() +
                        (box->isModal() ? "|modal" : ""));
        box->buttons().front()->click();
    });
    answer.start(150);
    showBoxesOnClick();
    QTest::mouseClick(control("Form1", "Label13"), Qt::LeftButton);
    EXPECT_GT(ticks, 10);
    const QString text =
        "Quenly作品|第一行\n  第二行 |%1|确定|modal";  // no icon, information, critical
    EXPECT_EQ(boxes, (std::vector{text.arg(0), text.arg(1), text.arg(3)}));
}

// Unloaded by its own handler, a window is hidden at once and deleted once the handler is done.
TEST_F(QtToolkit, ClosingAndTheEnd) {
    QPointer<QWidget> unloaded = app.window("Form1");
    onClick = [&] {
        app.unload("Form1");
        EXPECT_FALSE(unloaded->isVisible());
        app.show("Form1");
    };
    EXPECT_FALSE(ends([&] { QTest::mouseClick(control("Form1", "Command1"), Qt::LeftButton); }));
    QPointer<QWidget> closed = app.window("Form1");
    EXPECT_FALSE(ends([&] { closed->close(); }));  // as by its title bar
    EXPECT_TRUE(unloaded.isNull() && closed.isNull() && !app.loaded("Form1"));
    show(mainwindow::Form1Table());
    onClick = [&] { app.end(); };
    EXPECT_TRUE(ends([&] { QTest::mouseClick(control("Form1", "Command5"), Qt::LeftButton); }));
}

// Enter presses the focused push button, else "确定"; Escape closes the dialog only.
TEST_F(QtToolkit, KeysOfADialog) {
    show(yeardialog::Form2Table());
    for (auto [form, name, key] : {std::tuple{"Form2", "Text1", Qt::Key_Return},
                                   {"Form2", "Command2", Qt::Key_Return},
                                   {"Form1", "Text1", Qt::Key_Escape},
                                   {"Form2", "Text2", Qt::Key_Escape}}) {
        control(form, name)->setFocus();
        QTest::keyClick(control(form, name), key);
    }
    EXPECT_TRUE(app.loaded("Form1") && !app.loaded("Form2"));
    EXPECT_EQ(clicks, (std::vector<std::string>{"Command1", "Command2"}));
}

TEST_F(QtToolkit, FormComboBoxAndFont) {
    forms::Form& form = app.formOf("Form1");
    testing_support::MemoryForm memory(mainwindow::Form1Table());
    EXPECT_EQ(readAfterCalls(form), readAfterCalls(memory));
    // What is typed stays, neither completed nor added; the item picked before shows again.
    form.setEnabled("Frame1", true);
    ASSERT_TRUE(QTest::qWaitForWindowActive(app.window("Form1")));
    auto* combo = static_cast<QComboBox*>(control("Form1", "Combo2"));
    combo->setFocus();
    combo->lineEdit()->selectAll();
    QTest::keyClicks(combo, "201\r");
    EXPECT_EQ(form.text("Combo2") + " " + std::to_string(form.items("Combo2").size()), "201 1");
    form.setListIndex("Combo2", 0);
    EXPECT_EQ(form.text("Combo2"), "2014");
    const QFont font = control("Form1", "Text1")->font();
    EXPECT_EQ(QFontInfo(font).family() + QString(" %1 %2").arg(font.pointSize()).arg(font.bold()),
              "Noto Serif CJK SC 15 1");
}

// Run on an X server by qt_warning_focus: the offscreen platform focuses every window it shows.
TEST_F(QtToolkit, WarningTakesNoFocus) {
    if (QGuiApplication::platformName() == "offscreen") {
        GTEST_SKIP() << "needs a window system";
    }
    ASSERT_TRUE(QTest::qWaitForWindowActive(app.window("Form1")));
    warning::Link link;
    app.define("Form3", warning::Form3Definition(link));
    app.show("Form3");
    ASSERT_TRUE(QTest::qWaitForWindowExposed(app.window("Form3")));
    EXPECT_TRUE(app.window("Form3")->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(QApplication::activeWindow(), app.window("Form1"));
}

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);  // a test's windows come and go
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

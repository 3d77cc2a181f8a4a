// What only the Qt windows can get wrong; the window host is tested on its own.
#include <QtTest>
#include <QtWidgets>

#include "toolkit_probes.h"
#include "toolkits/qt/qt_application.h"

struct QtToolkit : OnToolkit<qtforms::QtApplication> {
    QWidget* control(const char* f, const char* c) { return app.window(f)->findChild<QWidget*>(c); }
    void click(const char* name) { QTest::mouseClick(control("Form1", name), Qt::LeftButton); }
    // Whether the event loop ends while `act` runs in it.
    static bool ends(const std::function<void()>& act) {
        QObject scope;
        QTimer::singleShot(200, &scope, [] { QCoreApplication::exit(1); });
        QTimer::singleShot(0, act);
        return QCoreApplication::exec() == 0;
    }
};

TEST_F(QtToolkit, MessageBoxesLetTheWakeUpsGoOn) {
    std::vector<std::string> boxes;
    QTimer answer;
    answer.callOnTimeout([&] {
        auto* box = static_cast<QMessageBox*>(QApplication::activeModalWidget());
        boxes.push_back(qUtf8Printable(
            box->windowTitle() + '|' + box->text() + '|' + box->buttons().front()->text() +
            (box->isModal() ? "|modal|" : "||") + QString::number(box->icon())));
        box->buttons().front()->click();
    });
    answer.start(150);
    showBoxesOnClick();
    click("Label13");
    EXPECT_GT(ticks, 10);
    const std::string box = "Quenly作品|第一行\n  第二行 |确定|modal|";
    EXPECT_EQ(boxes, (std::vector{box + '0', box + '1', box + '3'}));
}

// Unloaded by its own handler, a window is hidden at once and deleted once the handler is done.
TEST_F(QtToolkit, UnloadAndEnd) {
    QPointer<QWidget> unloaded = app.window("Form1");
    onClick = [&](auto) {
        app.unload("Form1");
        EXPECT_FALSE(unloaded->isVisible());
        app.show("Form1");
    };
    EXPECT_FALSE(ends([&] { click("Command1"); }));
    EXPECT_TRUE(unloaded.isNull() && app.loaded("Form1"));
    onClick = [&](auto) { app.end(); };
    EXPECT_TRUE(ends([&] { click("Command5"); }));
}

TEST_F(QtToolkit, KeysOfADialog) {
    pressEnterAndEscape([&](const char* form, const char* name, bool enter) {
        control(form, name)->setFocus();
        QTest::keyClick(control(form, name), enter ? Qt::Key_Return : Qt::Key_Escape);
    });
}

// Only on an X server (qt_warning_focus): the offscreen platform focuses every window it shows.
TEST_F(QtToolkit, WarningTakesNoFocus) {
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

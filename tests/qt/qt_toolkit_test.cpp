// The toolkit cases on Qt, and what only Qt can get wrong; the window host and what the pixel and
// end-to-end tests see are tested elsewhere.
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMetaEnum>
#include <QPointer>
#include <QtTest>

#include "toolkit_probes.h"
#include "toolkits/qt/qt_application.h"
#include "warning/Form3.h"

namespace {

struct QtDriver {
    static constexpr const char* kLineBreak = "\n";
    static constexpr bool kLastWindowEnds = false;  // QApplication's doing, switched off in main

    QWidget* control(std::string_view form, const char* name) const {
        return app.window(form)->findChild<QWidget*>(name);
    }
    QPointer<QWidget> window(std::string_view form) const { return app.window(form); }
    static bool shown(const QPointer<QWidget>& window) { return window->isVisible(); }
    static bool alive(const QPointer<QWidget>& window) { return !window.isNull(); }
    static void closeBox(const QPointer<QWidget>& window) { window->close(); }
    void click(std::string_view form, const char* name) {  // where an option button has its circle
        QTest::mouseClick(control(form, name), Qt::LeftButton, {}, QPoint(6, 10));
    }
    void key(std::string_view form, const char* name, bool enter) {
        QWidget* widget = control(form, name);
        if (auto* combo = qobject_cast<QComboBox*>(widget)) {
            widget = combo->lineEdit();
        }
        widget->setFocus();
        QTest::keyClick(widget, enter ? Qt::Key_Return : Qt::Key_Escape);
    }
    static bool ends(const std::function<void()>& act) {
        QTimer timeout;
        timeout.callOnTimeout([] { QCoreApplication::exit(1); });
        timeout.start(200);
        QTimer::singleShot(0, act);
        return QCoreApplication::exec() == 0;
    }
    static std::vector<std::string> answeringBoxes(const std::function<void()>& act) {
        std::vector<std::string> boxes;
        QTimer answer;
        answer.callOnTimeout([&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                const char* icon = QMetaEnum::fromType<QMessageBox::Icon>().valueToKey(box->icon());
                boxes.push_back((box->windowTitle() + '|' + box->text() + '|' + icon + '|' +
                                 box->buttons().front()->text() +
                                 (box->windowModality() == Qt::ApplicationModal ? "|modal" : "|"))
                                    .toStdString());
                box->buttons().front()->click();
            }
        });
        answer.start(150);
        act();
        return boxes;
    }

    qtforms::QtApplication app;
};

using QtToolkit = testing_support::ToolkitTest<QtDriver>;

TEST_F(QtToolkit, FontsAndColours) {
    auto* year = qobject_cast<QComboBox*>(control("Form1", "Combo1"));
    for (const QFont& font : {control("Form1", "Text1")->font(), year->font()}) {
        EXPECT_EQ((QFontInfo(font).family() + " %1 %2").arg(font.pointSize()).arg(font.bold()),
                  "Noto Serif CJK SC 15 1");
    }
    EXPECT_EQ(control("Form1", "Option1")->font(), QApplication::font());
    const std::tuple<QWidget*, QPalette::ColorRole, QColor> colours[] = {
        {year, QPalette::Text, Qt::yellow},
        {year->lineEdit(), QPalette::Text, Qt::yellow},
        {year->lineEdit(), QPalette::Base, Qt::black},
        {control("Form1", "Option1"), QPalette::WindowText, Qt::magenta}};
    for (const auto& [widget, role, colour] : colours) {
        EXPECT_EQ(widget->palette().color(role), colour);
    }
    auto* status = qobject_cast<QLabel*>(control("Form1", "Label13"));
    EXPECT_TRUE(status->autoFillBackground() && (status->alignment() & Qt::AlignHCenter));
    EXPECT_EQ(status->palette().color(QPalette::Disabled, QPalette::WindowText),
              QApplication::palette().color(QPalette::Disabled, QPalette::WindowText));
    // A frame's caption colour is painted, not handed down to the controls inside.
    const QImage frame =
        control("Form1", "Frame3")->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const auto* pixels = reinterpret_cast<const QRgb*>(frame.constBits());
    EXPECT_GT(std::count(pixels, pixels + frame.width() * frame.height(), qRgb(255, 128, 0)), 10);
}

TEST_F(QtToolkit, ComboKeepsWhatIsTyped) {
    ASSERT_TRUE(QTest::qWaitForWindowActive(app.window("Form1")));
    form->addItem("Combo1", "2014");
    form->setListIndex("Combo1", 0);
    auto* combo = qobject_cast<QComboBox*>(control("Form1", "Combo1"));
    combo->setFocus();
    combo->lineEdit()->selectAll();
    QTest::keyClicks(combo, "20");
    QTest::keyClick(combo, Qt::Key_Return);
    EXPECT_EQ(form->text("Combo1"), "20");  // neither completed nor added to the items
    EXPECT_EQ(form->items("Combo1"), std::vector<std::string>{"2014"});
    form->setListIndex("Combo1", 0);  // the same item shows it again
    EXPECT_EQ(form->text("Combo1"), "2014");
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

}  // namespace

namespace testing_support {
INSTANTIATE_TYPED_TEST_SUITE_P(Qt, ToolkitTest, QtDriver);
}

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

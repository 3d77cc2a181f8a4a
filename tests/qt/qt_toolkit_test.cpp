// The Qt toolkit against the main window's control table: the widgets it builds, how it routes
// clicks, wake-ups, message boxes and errors, and that its form interface behaves as the
// in-memory one the handler tests drive.
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>
#include <functional>
#include <stdexcept>

#include "fake_clock.h"
#include "memory_host.h"
#include "mainwindow/Form1.h"
#include "fake_keep_awake.h"
#include "fake_launcher.h"
#include "temp_config_dir.h"
#include "toolkit_probes.h"
#include "toolkits/qt/qt_application.h"
#include "warning/Form3.h"
#include "yeardialog/Form2.h"

namespace {

using namespace std::chrono_literals;
using forms::Kind;

const forms::FormTable& table() {
    return mainwindow::Form1Table();
}

QColor qcolour(const forms::Rgb& c) {
    return QColor(c.red, c.green, c.blue);
}

// The main window's table shown through the toolkit, with recording handlers.
struct Harness {
    Harness() {
        app.define("Form1", {&table(), [this](forms::Form& f, forms::Application&) {
                                 auto made = std::make_unique<testing_support::Recorder>();
                                 handlers = made.get();
                                 form = &f;
                                 ++loadsMade;
                                 return made;
                             }});
        app.show("Form1");
    }
    QWidget* window() const { return app.window("Form1"); }
    template <typename Widget = QWidget>
    Widget* control(std::string_view name) const {
        return window()->findChild<Widget*>(QString::fromUtf8(name.data(), name.size()));
    }

    qtforms::QtApplication app;
    testing_support::Recorder* handlers = nullptr;
    forms::Form* form = nullptr;
    int loadsMade = 0;
};

// Answers every modal message box that comes up, after it has been up for a while, and
// remembers what it showed.
class BoxAnswerer {
  public:
    struct Box {
        QString title;
        QString text;
        QMessageBox::Icon icon;
        qsizetype buttons;
        Qt::WindowModality modality;
        QString button;
    };

    explicit BoxAnswerer(std::chrono::milliseconds after = 10ms) {
        QObject::connect(&poll_, &QTimer::timeout, &poll_, [this] { answer(); });
        poll_.start(after);
    }
    std::vector<Box> seen;

  private:
    void answer() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isVisible()) {
            return;
        }
        seen.push_back({box->windowTitle(), box->text(), box->icon(), box->buttons().size(),
                        box->windowModality(), box->buttons().front()->text()});
        box->buttons().front()->click();
    }
    QTimer poll_;
};

// The widget class each kind becomes, in the order of forms::Kind.
const char* const kWidgetClass[] = {"QLineEdit",   "QComboBox", "QRadioButton",
                                    "QPushButton", "QLabel",    "QGroupBox"};

std::vector<std::string> snapshot(const forms::Form& form) {
    return testing_support::snapshot(form, table());
}

}  // namespace

class QtToolkitTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }

    void controls_data() {
        QTest::addColumn<QString>("name");
        for (const forms::Control& c : table().controls) {
            if (c.kind != Kind::Timer) {
                QTest::newRow(c.name.c_str()) << QString::fromStdString(c.name);
            }
        }
    }
    void controls() {
        QFETCH(QString, name);
        const forms::Control& c = table().control(name.toStdString());
        Harness h;
        QWidget* widget = h.control(c.name);
        QVERIFY(widget != nullptr);
        QCOMPARE(widget->metaObject()->className(), kWidgetClass[static_cast<int>(c.kind)]);
        QCOMPARE(widget->parentWidget(), c.container.empty() ? h.window() : h.control(c.container));
        QCOMPARE(widget->pos(),
                 QPoint(forms::twipsToPixels(c.rect.left), forms::twipsToPixels(c.rect.top)));
        QCOMPARE(widget->width(), forms::twipsToPixels(c.rect.width));
        if (c.kind != Kind::ComboBox) {
            QCOMPARE(widget->height(), forms::twipsToPixels(c.rect.height));
        }
        QVERIFY(widget->isVisible());
        QVERIFY(widget->isEnabled());

        const QFontInfo font(widget->font());
        if (c.font) {
            QCOMPARE(font.family(), QStringLiteral("Noto Serif CJK SC"));
            QCOMPARE(widget->font().pointSizeF(), c.font->points);
            QCOMPARE(font.bold(), c.font->bold);
        } else {
            QCOMPARE(widget->font(), QApplication::font());
        }

        const QPalette palette = widget->palette();
        if (c.kind == Kind::TextBox || c.kind == Kind::ComboBox) {
            QCOMPARE(palette.color(QPalette::Text), qcolour(*c.foreColour));
            QCOMPARE(palette.color(QPalette::Base), qcolour(*c.backColour));
        }
        if (c.kind == Kind::ComboBox) {
            const QPalette edit = static_cast<QComboBox*>(widget)->lineEdit()->palette();
            QCOMPARE(edit.color(QPalette::Text), qcolour(*c.foreColour));
            QCOMPARE(edit.color(QPalette::Base), qcolour(*c.backColour));
        }
        if (c.kind == Kind::Label || c.kind == Kind::OptionButton) {
            QCOMPARE(palette.color(QPalette::WindowText), qcolour(*c.foreColour));
        }
        if (c.kind == Kind::Label) {
            QVERIFY(widget->autoFillBackground());
            QCOMPARE(palette.color(QPalette::Window),
                     h.window()->palette().color(QPalette::Window));
            const Qt::Alignment horizontal =
                c.align == forms::Align::Centre ? Qt::AlignHCenter : Qt::AlignLeft;
            QVERIFY(static_cast<QLabel*>(widget)->alignment() & horizontal);
        }
    }

    void window() {
        Harness h;
        QWidget* window = h.window();
        QCOMPARE(window->windowTitle(), QStringLiteral("Vorlix定时关机软件2.2"));
        QCOMPARE(window->size(), QSize(488, 270));
        QCOMPARE(window->minimumSize(), window->maximumSize());
        QVERIFY(window->isVisible());
        QCOMPARE(h.handlers->loads, 1);
        QCOMPARE(window->focusWidget(), h.control("Command1"));
        QVERIFY(h.control<QRadioButton>("Option1")->isChecked());
        QVERIFY(!h.control<QRadioButton>("Option2")->isChecked());
        // Command2 belongs to the window, right under Command1 and in front of Frame2.
        QWidget* command2 = h.control("Command2");
        QCOMPARE(command2->geometry(), QRect(72, 160, 65, 25));
        QCOMPARE(h.control("Command1")->mapTo(window, QPoint()), QPoint(72, 128));
        QCOMPARE(window->childAt(command2->geometry().center()), command2);
    }

    void tabOrder() {
        Harness h;
        QStringList expected;
        for (const forms::Control* c : forms::focusOrder(table())) {
            expected << QString::fromStdString(c->name);
        }
        QStringList walked;
        QWidget* first = h.control("Command1");
        QWidget* widget = first;
        do {
            if ((widget->focusPolicy() & Qt::TabFocus) && expected.contains(widget->objectName())) {
                walked << widget->objectName();
            }
            widget = widget->nextInFocusChain();
        } while (widget != first && walked.size() <= expected.size());
        QCOMPARE(walked, expected);
    }

    void frameCaptionColour() {
        Harness h;
        auto* frame = h.control<QGroupBox>("Frame3");
        const QColor orange = qcolour(*table().control("Frame3").foreColour);
        // The caption's colour is painted, not handed down to the controls inside.
        QVERIFY(h.control("Label13")->palette().color(QPalette::WindowText) != orange);
        const QImage image = frame->grab().toImage();
        int captionPixels = 0;
        for (int i = 0; i < image.width() * image.height(); ++i) {
            captionPixels += image.pixelColor(i % image.width(), i / image.width()) == orange;
        }
        QVERIFY(captionPixels > 10);
    }

    void clicks_data() {
        QTest::addColumn<QString>("name");
        for (const char* name :
             {"Command1", "Command2", "Command3", "Command4", "Command5", "Option2", "Label13"}) {
            QTest::newRow(name) << name;
        }
    }
    void clicks() {
        QFETCH(QString, name);
        Harness h;
        QWidget* widget = h.control(name.toStdString());
        // Near the left edge, where an option button has its circle.
        QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(6, widget->height() / 2));
        QCOMPARE(h.handlers->clicks, std::vector<std::string>{name.toStdString()});
        QCOMPARE(h.form->selected("Option1"), name != "Option2");
    }

    void comboKeepsTypedText() {
        Harness h;
        QVERIFY(QTest::qWaitForWindowActive(h.window()));
        testing_support::addItems(*h.form, "Combo1", {"2014", "2015"});
        h.form->setListIndex("Combo1", 1);
        auto* combo = h.control<QComboBox>("Combo1");
        combo->setFocus();
        combo->lineEdit()->selectAll();
        QTest::keyClicks(combo, "20");
        QCOMPARE(h.form->text("Combo1"), "20");  // not completed to an item
        QTest::keyClicks(combo, "99");
        QTest::keyClick(combo, Qt::Key_Return);
        QCOMPARE(h.form->text("Combo1"), "2099");
        QCOMPARE(h.form->items("Combo1"), (std::vector<std::string>{"2014", "2015"}));
        // Selecting the item the text was typed over shows the item again.
        h.form->setListIndex("Combo1", h.form->listIndex("Combo1"));
        QCOMPARE(h.form->text("Combo1"), "2015");
    }

    // Enter presses the push button that has the focus, else the year dialog's "确定"; Escape
    // closes the dialog as its close box does, and leaves the main window alone.
    void enterAndEscapeAsInADialog() {
        Harness h;
        std::vector<std::string> clicks;
        h.app.define("Form2", {&yeardialog::Form2Table(), [&](forms::Form&, forms::Application&) {
                                   auto made = std::make_unique<testing_support::Recorder>();
                                   made->onClick = [&](std::string_view c) {
                                       clicks.emplace_back(c);
                                   };
                                   return made;
                               }});
        h.app.show("Form2");
        const auto press = [](QWidget* focus, Qt::Key key) {
            focus->setFocus();
            QTest::keyClick(focus, key);
        };
        QWidget* dialog = h.app.window("Form2");
        press(dialog->findChild<QWidget*>("Text1"), Qt::Key_Return);
        press(dialog->findChild<QWidget*>("Command2"), Qt::Key_Enter);
        QCOMPARE(clicks, (std::vector<std::string>{"Command1", "Command2"}));
        press(h.control<QComboBox>("Combo1")->lineEdit(), Qt::Key_Escape);
        QVERIFY(h.app.loaded("Form1"));
        press(dialog->findChild<QWidget*>("Text2"), Qt::Key_Escape);
        QVERIFY(!h.app.loaded("Form2"));
        QCOMPARE(clicks.size(), 2u);
    }

    void formLikeMemoryForm_data() {
        QTest::addColumn<int>("step");
        for (std::size_t i = 0; i < std::size(testing_support::kFormSteps); ++i) {
            QTest::newRow(testing_support::kFormSteps[i].name) << static_cast<int>(i);
        }
    }
    void formLikeMemoryForm() {
        QFETCH(int, step);
        const testing_support::FormStep& s = testing_support::kFormSteps[step];
        Harness h;
        testing_support::MemoryForm memory(table());
        QCOMPARE(snapshot(*h.form), snapshot(memory));
        QCOMPARE(testing_support::throwsLogicError(s, memory), s.throws);
        QCOMPARE(testing_support::throwsLogicError(s, *h.form), s.throws);
        QCOMPARE(snapshot(*h.form), snapshot(memory));
    }

    // The real main window with fake services, side by side with the in-memory application.
    void mainWindowLikeMemoryApplication() {
        testing_support::TempConfigDir config;
        testing_support::FakeClock clock;
        power::FakeLauncher launcher;
        power::FakeKeepAwake keepAwake;
        const forms::FormDefinition definition =
            mainwindow::Form1Definition({clock, launcher, keepAwake});
        testing_support::MemoryHost memory;
        memory.define("Form1", definition);
        memory.show("Form1");
        forms::Form* form = nullptr;
        qtforms::QtApplication qt;
        qt.define("Form1", {definition.table, [&](forms::Form& f, forms::Application& a) {
                                form = &f;
                                return definition.makeHandlers(f, a);
                            }});
        qt.show("Form1");
        QCOMPARE(snapshot(*form), snapshot(memory.form("Form1")));
        for (const char* command : {"Command1", "Command3", "Command4"}) {
            QTest::mouseClick(qt.window("Form1")->findChild<QPushButton*>(command), Qt::LeftButton);
            memory.click("Form1", command);
            QCOMPARE(snapshot(*form), snapshot(memory.form("Form1")));
        }
    }

    void wakeUps() {
        Harness h;
        BoxAnswerer answerer(150ms);
        h.handlers->next = 10ms;
        int ticksDuringBox = -1;
        h.handlers->onClick = [&](std::string_view control) {
            if (control == "Label13") {
                const int before = h.handlers->ticks;
                h.app.messageBox("稍候", "提示", forms::MessageIcon::None);
                ticksDuringBox = h.handlers->ticks - before;
            }
        };
        // Every handler call asks for the next wake-up; a click is one.
        QTest::mouseClick(h.control("Command1"), Qt::LeftButton);
        QTRY_VERIFY(h.handlers->ticks >= 2);
        // The clock keeps going while a handler of the window waits on a message box.
        QTest::mouseClick(h.control("Label13"), Qt::LeftButton);
        QVERIFY(ticksDuringBox > 0);
        const int afterBox = h.handlers->ticks;
        QTRY_VERIFY(h.handlers->ticks > afterBox);
        // The wake-up already on its way still comes; it asks for none after it.
        h.handlers->next.reset();
        const int atReset = h.handlers->ticks;
        QTRY_VERIFY(h.handlers->ticks > atReset);
        const int settled = h.handlers->ticks;
        QTest::qWait(100);
        QCOMPARE(h.handlers->ticks, settled);
    }

    void messageBox_data() {
        QTest::addColumn<int>("icon");
        QTest::addColumn<int>("shown");
        QTest::newRow("information") << static_cast<int>(forms::MessageIcon::Information)
                                     << static_cast<int>(QMessageBox::Information);
        QTest::newRow("none") << static_cast<int>(forms::MessageIcon::None)
                              << static_cast<int>(QMessageBox::NoIcon);
    }
    void messageBox() {
        QFETCH(int, icon);
        QFETCH(int, shown);
        Harness h;
        BoxAnswerer answerer;
        bool returned = false;
        h.handlers->onClick = [&](std::string_view) {
            h.app.messageBox("第一行\r\n  第二行 ", "Quenly作品", forms::MessageIcon(icon));
            returned = true;
        };
        QTest::mouseClick(h.control("Label13"), Qt::LeftButton);
        QVERIFY(returned);
        QCOMPARE(answerer.seen.size(), 1u);
        const BoxAnswerer::Box& box = answerer.seen.front();
        QCOMPARE(box.title, QStringLiteral("Quenly作品"));
        QCOMPARE(box.text, QStringLiteral("第一行\n  第二行 "));
        QCOMPARE(static_cast<int>(box.icon), shown);
        QCOMPARE(box.buttons, 1);
        QCOMPARE(box.modality, Qt::ApplicationModal);
    }

    void handlerErrorIsShownAndSurvived() {
        Harness h;
        BoxAnswerer answerer;
        h.handlers->onClick = [](std::string_view) { throw std::overflow_error("溢出"); };
        QTest::mouseClick(h.control("Command3"), Qt::LeftButton);
        QCOMPARE(answerer.seen.size(), 1u);
        QCOMPARE(answerer.seen.front().title, QStringLiteral("运行时错误"));
        QVERIFY(answerer.seen.front().text.endsWith(QStringLiteral("溢出")));
        QVERIFY(h.app.loaded("Form1"));
        h.handlers->onClick = nullptr;
        QTest::mouseClick(h.control("Command3"), Qt::LeftButton);
        QCOMPARE(h.handlers->clicks.size(), 2u);
    }

    // What the year-range dialog does to the main window: unload it from a handler running on
    // it, then load it anew in the same handler.
    void unloadFromOwnHandler() {
        Harness h;
        QPointer<QWidget> old = h.window();
        auto* oldButton = h.control<QPushButton>("Command2");
        forms::Form* oldForm = h.form;
        h.handlers->onClick = [&](std::string_view) {
            h.app.unload("Form1");
            QVERIFY(!h.app.loaded("Form1"));
            oldForm->setText("Label13", "卸载后");  // the handler may still touch its controls
            h.app.show("Form1");
        };
        QTest::mouseClick(oldButton, Qt::LeftButton);
        QCOMPARE(h.loadsMade, 2);
        QVERIFY(h.window() != old);
        QVERIFY(!old->isVisible());
        QCOMPARE(h.control("Label13")->property("text").toString(),
                 QStringLiteral("程序初始化中……"));
        oldButton->click();  // the old window's controls reach no handler any more
        QVERIFY(h.handlers->clicks.empty());
        QTRY_VERIFY(old.isNull());
    }

    void closedByTitleBar() {
        Harness h;
        QPointer<QWidget> window = h.window();
        bool handlersGone = false;
        h.handlers->onDestroy = [&] { handlersGone = true; };
        window->close();
        QVERIFY(!h.app.loaded("Form1"));
        // The handlers go at once, the window itself once the event that closed it is done.
        QVERIFY(handlersGone);
        QTRY_VERIFY(window.isNull());
    }

    // The real windows: the year dialog saves, the main window is rebuilt around the message box.
    void yearDialogThroughMessageBoxes() {
        testing_support::TempConfigDir config;
        testing_support::FakeClock clock;
        power::FakeLauncher launcher;
        power::FakeKeepAwake keepAwake;
        qtforms::QtApplication app;
        app.define("Form1", mainwindow::Form1Definition({clock, launcher, keepAwake}));
        app.define("Form2", yeardialog::Form2Definition());
        app.show("Form1");
        QTest::mouseClick(app.window("Form1")->findChild<QPushButton*>("Command2"), Qt::LeftButton);
        QWidget* dialog = app.window("Form2");
        QVERIFY(dialog != nullptr);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("参数设置"));
        QCOMPARE(dialog->size(), QSize(280, 155));
        QCOMPARE(dialog->focusWidget(), dialog->findChild<QWidget*>("Text1"));

        BoxAnswerer answerer;
        dialog->findChild<QLineEdit*>("Text1")->setText("2010");
        dialog->findChild<QLineEdit*>("Text2")->setText("2009");
        QTest::mouseClick(dialog->findChild<QPushButton*>("Command1"), Qt::LeftButton);
        dialog->findChild<QLineEdit*>("Text2")->setText("2030");
        QTest::mouseClick(dialog->findChild<QPushButton*>("Command1"), Qt::LeftButton);

        QCOMPARE(answerer.seen.size(), 2u);
        QCOMPARE(
            answerer.seen[0].text,
            QStringLiteral("年份设置错误！请输入1到9999之间的整数，且开始年份不大于结束年份。"));
        QCOMPARE(answerer.seen[1].title, QStringLiteral("提示"));
        QCOMPARE(answerer.seen[1].text, QStringLiteral("年份设置修改成功！"));
        QCOMPARE(answerer.seen[1].icon, QMessageBox::NoIcon);
        QCOMPARE(answerer.seen[1].button, QStringLiteral("确定"));
        auto* years = app.window("Form1")->findChild<QComboBox*>("Combo1");
        QCOMPARE(years->count(), 21);
        QCOMPARE(years->currentText(), QStringLiteral("2010"));
        QVERIFY(app.loaded("Form2"));
    }

    // The warning shows on top of the other windows and leaves the keyboard focus where it was.
    void warningTakesNoFocus() {
        if (QGuiApplication::platformName() == "offscreen") {
            QSKIP("run on an X server by qt_warning_focus");
        }
        Harness h;
        QVERIFY(QTest::qWaitForWindowActive(h.window()));
        warning::Link link;
        h.app.define("Form3", warning::Form3Definition(link));
        h.app.show("Form3");
        QVERIFY(QTest::qWaitForWindowExposed(h.app.window("Form3")));
        QVERIFY(h.app.window("Form3")->windowFlags() & Qt::WindowStaysOnTopHint);
        QCOMPARE(QApplication::activeWindow(), h.window());
    }

    // Last: ending the program leaves the event loop for the rest of the run.
    void endStopsEverything() {
        Harness h;
        h.handlers->next = 10ms;
        h.handlers->onClick = [&](std::string_view control) {
            if (control == "Command5") {
                h.app.end();
            }
        };
        QTest::mouseClick(h.control("Command1"), Qt::LeftButton);
        QTRY_VERIFY(h.handlers->ticks > 0);
        QTest::mouseClick(h.control("Command5"), Qt::LeftButton);
        const int ticks = h.handlers->ticks;
        QTest::qWait(60);
        QCOMPARE(h.handlers->ticks, ticks);
        QTest::mouseClick(h.control("Command1"), Qt::LeftButton);
        QCOMPARE(h.handlers->clicks, (std::vector<std::string>{"Command1", "Command5"}));
    }
};

QTEST_MAIN(QtToolkitTest)
#include "qt_toolkit_test.moc"

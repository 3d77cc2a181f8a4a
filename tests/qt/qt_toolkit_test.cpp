// What the Qt toolkit adds to the window host: the widgets it builds from a table, the clicks, keys
// and wake-ups it passes on, its message boxes, and a form that does what the in-memory one does.
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMetaEnum>
#include <QPointer>
#include <QtTest>
#include <algorithm>

#include "mainwindow/Form1.h"
#include "memory_host.h"
#include "toolkit_probes.h"
#include "toolkits/qt/qt_application.h"
#include "warning/Form3.h"
#include "yeardialog/Form2.h"

using namespace std::chrono_literals;

class QtToolkitTest : public QObject {
    Q_OBJECT

    std::unique_ptr<testing_support::Harness<qtforms::QtApplication>> h;

    QWidget* control(const char* name, std::string_view form = "Form1") const {
        return h->app.window(form)->findChild<QWidget*>(name);
    }

  private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }
    void init() {
        h = std::make_unique<testing_support::Harness<qtforms::QtApplication>>();
        h->show(mainwindow::Form1Table());
    }
    void cleanup() { h.reset(); }

    void buildsTheWindow() {
        QWidget* window = h->app.window("Form1");
        QCOMPARE(window->windowTitle(), QStringLiteral("Vorlix定时关机软件2.2"));
        QCOMPARE(window->size(), QSize(488, 270));
        QCOMPARE(window->minimumSize(), window->maximumSize());
        QVERIFY(window->isVisible());
        QCOMPARE(window->focusWidget(), control("Command1"));
        const std::vector<std::string>& order = testing_support::kForm1TabOrder;
        std::vector<std::string> walked;
        QWidget* widget = control("Command1");
        do {
            const std::string name = widget->objectName().toStdString();
            if ((widget->focusPolicy() & Qt::TabFocus) && std::ranges::count(order, name) > 0) {
                walked.push_back(name);
            }
            widget = widget->nextInFocusChain();
        } while (widget != control("Command1") && walked.size() <= order.size());
        QCOMPARE(walked, order);
    }

    // What the pixel checks of the real program do not see: the lists' colours, the fonts, the
    // option buttons' colour, the status line's alignment and the frames' captions.
    void appliesColoursAndFonts() {
        auto* year = qobject_cast<QComboBox*>(control("Combo1"));
        for (QWidget* field : std::initializer_list<QWidget*>{year, year->lineEdit()}) {
            QCOMPARE(field->palette().color(QPalette::Text), QColor(Qt::yellow));
            QCOMPARE(field->palette().color(QPalette::Base), QColor(Qt::black));
        }
        for (QWidget* field : {control("Text1"), control("Combo1")}) {  // 新宋体 and 宋体
            QCOMPARE(QFontInfo(field->font()).family(), QStringLiteral("Noto Serif CJK SC"));
            QCOMPARE(field->font().pointSizeF(), 15.0);
            QVERIFY(field->font().bold());
        }
        QCOMPARE(control("Option1")->palette().color(QPalette::WindowText), QColor(Qt::magenta));
        QCOMPARE(control("Option1")->font(), QApplication::font());
        auto* status = qobject_cast<QLabel*>(control("Label13"));
        QVERIFY(status->autoFillBackground() && (status->alignment() & Qt::AlignHCenter));
        // A frame's caption colour is painted, not handed down to the controls inside.
        const QImage frame = control("Frame3")->grab().toImage();
        int orange = 0;
        for (int i = 0; i < frame.width() * frame.height(); ++i) {
            orange += frame.pixelColor(i % frame.width(), i / frame.width()) == QColor(255, 128, 0);
        }
        QVERIFY(orange > 10);
        QCOMPARE(status->palette().color(QPalette::Disabled, QPalette::WindowText),
                 QApplication::palette().color(QPalette::Disabled, QPalette::WindowText));
    }

    // Message boxes are modal to the whole program and have the Chinese button; the window's
    // wake-ups go on meanwhile, and stop when its handlers ask for none.
    void passesOnClicksWakeUpsAndMessageBoxes() {
        h->next = 10ms;
        int ticksDuringBoxes = 0;
        h->onClick = [&](std::string_view clicked) {
            if (clicked != "Label13") {
                return;
            }
            const int before = h->ticks;
            for (auto icon : {forms::MessageIcon::None, forms::MessageIcon::Information,
                              forms::MessageIcon::Error}) {
                h->app.messageBox("第一行\r\n  第二行 ", "Quenly作品", icon);
            }
            ticksDuringBoxes = h->ticks - before;
        };
        QStringList boxes;
        QTimer answer;
        connect(&answer, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box != nullptr && box->isVisible()) {
                const char* icon = QMetaEnum::fromType<QMessageBox::Icon>().valueToKey(box->icon());
                boxes << box->windowTitle() + '|' + box->text() + '|' + icon + '|' +
                             box->buttons().front()->text() + '|' +
                             (box->windowModality() == Qt::ApplicationModal ? "modal" : "");
                box->buttons().front()->click();
            }
        });
        answer.start(150);
        QTest::mouseClick(control("Command3"), Qt::LeftButton);
        // Near the left edge, where an option button has its circle.
        QTest::mouseClick(control("Option2"), Qt::LeftButton, {}, QPoint(6, 10));
        QTest::mouseClick(control("Label13"), Qt::LeftButton);
        QCOMPARE(h->clicks, (std::vector<std::string>{"Command3", "Option2", "Label13"}));
        QVERIFY(h->form->selected("Option2"));
        QCOMPARE(boxes, (QStringList{"Quenly作品|第一行\n  第二行 |NoIcon|确定|modal",
                                     "Quenly作品|第一行\n  第二行 |Information|确定|modal",
                                     "Quenly作品|第一行\n  第二行 |Critical|确定|modal"}));
        QVERIFY(ticksDuringBoxes > 0);
        h->next.reset();  // the wake-up on its way still comes, and asks for none after it
        QTest::qWait(50);
        const int settled = h->ticks;
        QTest::qWait(100);
        QCOMPARE(h->ticks, settled);
    }

    void closedByTheTitleBar() {
        QPointer<QWidget> window = h->app.window("Form1");
        window->close();
        QVERIFY(!h->app.loaded("Form1"));
        // The handlers go at once, the window itself once the event that closed it is done.
        QCOMPARE(h->handlersGone, 1);
        QTRY_VERIFY(window.isNull());
    }

    // A window unloaded by its own handler, as the year dialog does with the main window, is
    // hidden at once and goes once the handler is done.
    void unloadedByItsOwnHandler() {
        QPointer<QWidget> old = h->app.window("Form1");
        bool hidden = false;
        h->onClick = [&](std::string_view) {
            h->app.unload("Form1");
            hidden = !old->isVisible();
            h->app.show("Form1");
        };
        QTest::mouseClick(control("Command1"), Qt::LeftButton);
        QVERIFY(hidden);
        QTRY_VERIFY(old.isNull());
    }

    // Enter presses the push button that has the focus, else the year dialog's "确定"; Escape
    // closes the dialog as its close box does, and leaves the main window alone.
    void keysOfADialog() {
        h->show(yeardialog::Form2Table());
        const auto press = [](QWidget* focus, Qt::Key key) {
            focus->setFocus();
            QTest::keyClick(focus, key);
        };
        press(control("Text1", "Form2"), Qt::Key_Return);
        press(control("Command2", "Form2"), Qt::Key_Enter);
        press(qobject_cast<QComboBox*>(control("Combo1"))->lineEdit(), Qt::Key_Escape);
        QVERIFY(h->app.loaded("Form1"));
        press(control("Text2", "Form2"), Qt::Key_Escape);
        QVERIFY(!h->app.loaded("Form2"));
        QCOMPARE(h->clicks, (std::vector<std::string>{"Command1", "Command2"}));
    }

    void comboKeepsWhatIsTyped() {
        QVERIFY(QTest::qWaitForWindowActive(h->app.window("Form1")));
        h->form->addItem("Combo1", "2014");
        h->form->setListIndex("Combo1", 0);
        auto* combo = qobject_cast<QComboBox*>(control("Combo1"));
        combo->setFocus();
        combo->lineEdit()->selectAll();
        QTest::keyClicks(combo, "20");
        QCOMPARE(h->form->text("Combo1"), "20");  // not completed to an item
        QTest::keyClick(combo, Qt::Key_Return);
        QCOMPARE(h->form->items("Combo1"), std::vector<std::string>{"2014"});  // nor added
        h->form->setListIndex("Combo1", 0);  // the same item shows it again
        QCOMPARE(h->form->text("Combo1"), "2014");
    }

    void formDoesWhatTheMemoryFormDoes() {
        testing_support::MemoryForm memory(mainwindow::Form1Table());
        QCOMPARE(testing_support::snapshot(*h->form, mainwindow::Form1Table()),
                 testing_support::snapshot(memory, mainwindow::Form1Table()));  // as built
        testing_support::exercise(memory);
        testing_support::exercise(*h->form);
        QCOMPARE(testing_support::snapshot(*h->form, mainwindow::Form1Table()),
                 testing_support::snapshot(memory, mainwindow::Form1Table()));
    }

    // The warning shows on top of the other windows and leaves the keyboard focus where it was.
    void warningTakesNoFocus() {
        if (QGuiApplication::platformName() == "offscreen") {
            QSKIP("run on an X server by qt_warning_focus");
        }
        QVERIFY(QTest::qWaitForWindowActive(h->app.window("Form1")));
        warning::Link link;
        h->app.define("Form3", warning::Form3Definition(link));
        h->app.show("Form3");
        QVERIFY(QTest::qWaitForWindowExposed(h->app.window("Form3")));
        QVERIFY(h->app.window("Form3")->windowFlags() & Qt::WindowStaysOnTopHint);
        QCOMPARE(QApplication::activeWindow(), h->app.window("Form1"));
    }

    void endLeavesTheEventLoop() {
        h->onClick = [&](std::string_view) { h->app.end(); };
        QTimer::singleShot(0, [&] { QTest::mouseClick(control("Command5"), Qt::LeftButton); });
        QTimer::singleShot(5000, control("Command5"), [] { QCoreApplication::exit(1); });
        QCOMPARE(QCoreApplication::exec(), 0);
    }
};

QTEST_MAIN(QtToolkitTest)
#include "qt_toolkit_test.moc"

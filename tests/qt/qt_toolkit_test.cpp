// What only the Qt toolkit can get wrong; the window host and what the pixel and end-to-end tests
// see are tested elsewhere.
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMetaEnum>
#include <QPointer>
#include <QtTest>

#include "mainwindow/Form1.h"
#include "memory_host.h"
#include "toolkit_probes.h"
#include "toolkits/qt/qt_application.h"
#include "warning/Form3.h"
#include "yeardialog/Form2.h"

class QtToolkitTest : public QObject {
    Q_OBJECT

    std::optional<testing_support::Harness<qtforms::QtApplication>> h;

    QWidget* control(const char* name, std::string_view form = "Form1") const {
        return h->app.window(form)->findChild<QWidget*>(name);
    }

  private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }
    void init() { h.emplace().show(mainwindow::Form1Table()); }
    void cleanup() { h.reset(); }

    void fontsAndColours() {
        auto* year = qobject_cast<QComboBox*>(control("Combo1"));
        for (const QFont& font : {control("Text1")->font(), year->font()}) {
            QCOMPARE(
                QFontInfo(font).family() + QString(" %1 %2").arg(font.pointSize()).arg(font.bold()),
                "Noto Serif CJK SC 15 1");
        }
        QCOMPARE(control("Option1")->font(), QApplication::font());
        const std::tuple<QWidget*, QPalette::ColorRole, QColor> colours[] = {
            {year, QPalette::Text, Qt::yellow},
            {year->lineEdit(), QPalette::Text, Qt::yellow},
            {year->lineEdit(), QPalette::Base, Qt::black},
            {control("Option1"), QPalette::WindowText, Qt::magenta}};
        for (const auto& [widget, role, colour] : colours) {
            QCOMPARE(widget->palette().color(role), colour);
        }
        auto* status = qobject_cast<QLabel*>(control("Label13"));
        QVERIFY(status->autoFillBackground() && (status->alignment() & Qt::AlignHCenter));
        QCOMPARE(status->palette().color(QPalette::Disabled, QPalette::WindowText),
                 QApplication::palette().color(QPalette::Disabled, QPalette::WindowText));
        // A frame's caption colour is painted, not handed down to the controls inside.
        const QImage frame =
            control("Frame3")->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const auto* pixels = reinterpret_cast<const QRgb*>(frame.constBits());
        QVERIFY(std::count(pixels, pixels + frame.width() * frame.height(), qRgb(255, 128, 0)) >
                10);
    }

    // Message boxes are modal to the whole program; the wake-ups go on while one is up.
    void clicksWakeUpsAndMessageBoxes() {
        h->next = std::chrono::milliseconds(10);
        int ticksDuringBoxes = 0;
        h->onClick = [&](std::string_view clicked) {
            const int before = h->ticks;
            for (auto icon : {forms::MessageIcon::None, forms::MessageIcon::Information,
                              forms::MessageIcon::Error}) {
                if (clicked == "Label13") {
                    h->app.messageBox("第一行\r\n  第二行 ", "Quenly作品", icon);
                }
            }
            ticksDuringBoxes += h->ticks - before;
        };
        QStringList boxes;
        QTimer answer;
        connect(&answer, &QTimer::timeout, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                boxes << box->windowTitle() + '|' + box->text() + '|' +
                             QMetaEnum::fromType<QMessageBox::Icon>().valueToKey(box->icon()) +
                             '|' + box->buttons().front()->text() + '|' +
                             (box->windowModality() == Qt::ApplicationModal ? "modal" : "");
                box->buttons().front()->click();
            }
        });
        answer.start(150);
        QTest::mouseClick(control("Option2"), Qt::LeftButton, {}, QPoint(6, 10));  // its circle
        QTest::mouseClick(control("Label13"), Qt::LeftButton);
        QCOMPARE(h->clicks, (std::vector<std::string>{"Option2", "Label13"}));
        QVERIFY(h->form->selected("Option2") && ticksDuringBoxes > 0);
        QCOMPARE(boxes, (QStringList{"Quenly作品|第一行\n  第二行 |NoIcon|确定|modal",
                                     "Quenly作品|第一行\n  第二行 |Information|确定|modal",
                                     "Quenly作品|第一行\n  第二行 |Critical|确定|modal"}));
    }

    // Closed by its title bar, or unloaded by its own handler and hidden at once, a window is
    // deleted once the event is done; the end leaves the event loop.
    void closesAndEnds() {
        QPointer<QWidget> closed = h->app.window("Form1");
        closed->close();
        QVERIFY(!h->app.loaded("Form1"));
        QTRY_VERIFY(closed.isNull());
        h->show(mainwindow::Form1Table());
        QPointer<QWidget> unloaded = h->app.window("Form1");
        h->onClick = [&](std::string_view) {
            h->app.unload("Form1");
            QVERIFY(!unloaded->isVisible());
            h->app.show("Form1");
        };
        QTest::mouseClick(control("Command1"), Qt::LeftButton);
        QTRY_VERIFY(unloaded.isNull());
        h->onClick = [&](std::string_view) { h->app.end(); };
        QTimer::singleShot(0, [&] { QTest::mouseClick(control("Command5"), Qt::LeftButton); });
        QTimer::singleShot(5000, control("Command5"), [] { QCoreApplication::exit(1); });
        QCOMPARE(QCoreApplication::exec(), 0);
    }

    // Enter presses the push button that has the focus, else the year dialog's "确定"; Escape
    // closes the dialog as its close box does, and leaves the main window alone.
    void keysOfADialog() {
        h->show(yeardialog::Form2Table());
        const std::pair<QWidget*, Qt::Key> presses[] = {
            {control("Text1", "Form2"), Qt::Key_Return},
            {control("Command2", "Form2"), Qt::Key_Enter},
            {qobject_cast<QComboBox*>(control("Combo1"))->lineEdit(), Qt::Key_Escape},
            {control("Text2", "Form2"), Qt::Key_Escape}};
        for (auto [focus, key] : presses) {
            focus->setFocus();
            QTest::keyClick(focus, key);
        }
        QVERIFY(h->app.loaded("Form1") && !h->app.loaded("Form2"));
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
        QTest::keyClick(combo, Qt::Key_Return);
        QCOMPARE(h->form->text("Combo1"), "20");  // neither completed nor added to the items
        QCOMPARE(h->form->items("Combo1"), std::vector<std::string>{"2014"});
        h->form->setListIndex("Combo1", 0);  // the same item shows it again
        QCOMPARE(h->form->text("Combo1"), "2014");
    }

    void formReadsAsTheMemoryForm() {
        testing_support::MemoryForm memory(mainwindow::Form1Table());
        QCOMPARE(testing_support::readAndChange(*h->form, mainwindow::Form1Table()),
                 testing_support::readAndChange(memory, mainwindow::Form1Table()));
    }

    // On an X server (qt_warning_focus): the offscreen platform focuses every window it shows.
    void warningTakesNoFocus() {
        if (QGuiApplication::platformName() == "offscreen") {
            QSKIP("needs a window system");
        }
        QVERIFY(QTest::qWaitForWindowActive(h->app.window("Form1")));
        warning::Link link;
        h->app.define("Form3", warning::Form3Definition(link));
        h->app.show("Form3");
        QVERIFY(QTest::qWaitForWindowExposed(h->app.window("Form3")));
        QVERIFY(h->app.window("Form3")->windowFlags() & Qt::WindowStaysOnTopHint);
        QCOMPARE(QApplication::activeWindow(), h->app.window("Form1"));
    }
};

QTEST_MAIN(QtToolkitTest)
#include "qt_toolkit_test.moc"

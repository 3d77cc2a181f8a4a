// What only the Qt windows can get wrong; the window host is tested on its own.
#include <QtTest>
#include <QtWidgets>

#include "toolkit_probes.h"
#include "toolkits/qt/qt_application.h"

class QtToolkit : public QObject {
    Q_OBJECT
    std::unique_ptr<OnToolkit<qtforms::QtApplication>> t;

    QWidget* control(const char* f, const char* c) {
        return t->app.window(f)->findChild<QWidget*>(c);
    }
    void click(const char* name) { QTest::mouseClick(control("Form1", name), Qt::LeftButton); }
    // Whether the event loop ends while `act` runs in it.
    static bool ends(const std::function<void()>& act) {
        QObject scope;
        QTimer::singleShot(200, &scope, [] { QCoreApplication::exit(1); });
        QTimer::singleShot(0, act);
        return QCoreApplication::exec() == 0;
    }

  private slots:
    void init() { t = std::make_unique<OnToolkit<qtforms::QtApplication>>(); }
    void cleanup() { t.reset(); }

    void messageBoxesLetTheWakeUpsGoOn() {
        QStringList boxes;
        QTimer answer;
        answer.callOnTimeout([&] {
            auto* box = static_cast<QMessageBox*>(QApplication::activeModalWidget());
            boxes << box->windowTitle() + '|' + box->text() + '|' + box->buttons().front()->text() +
                         (box->isModal() ? "|modal|" : "||") + QString::number(box->icon());
            box->buttons().front()->click();
        });
        answer.start(150);
        t->showBoxesOnClick();
        click("Label13");
        QVERIFY(t->ticks >= 3);
        const QString box = "Quenly作品|第一行\n  第二行 |确定|modal|";
        QCOMPARE(boxes, (QStringList{box + '0', box + '1', box + '3'}));
    }

    // Unloaded by its own handler, a window is hidden at once and deleted once the handler is
    // done; the end, and closing the last window, leave the event loop.
    void unloadAndEnd() {
        QPointer<QWidget> unloaded = t->app.window("Form1");
        bool hidden = false;
        t->onClick = [&](auto) {
            t->app.unload("Form1");
            hidden = !unloaded->isVisible();
            t->app.show("Form1");
        };
        QVERIFY(!ends([&] { click("Command1"); }));
        QVERIFY(hidden && unloaded.isNull() && t->app.loaded("Form1"));
        QVERIFY(ends([&] { t->app.window("Form1")->close(); }));  // with its last window
        t->show(mainwindow::Form1Table());
        t->onClick = [&](auto) { t->app.end(); };
        QVERIFY(ends([&] { click("Command5"); }));
    }

    // The program ends with its last window, not with the last one shown: with the main window
    // hidden in the notification area, closing another window leaves it running.
    void hiddenMainWindowKeepsTheProgramRunning() {
        t->show(yeardialog::Form2Table());
        t->app.hide("Form1");
        QVERIFY(!ends([&] { t->app.window("Form2")->close(); }));
        QVERIFY(t->app.loaded("Form1") && !t->app.loaded("Form2"));
    }

    void keysOfADialog() {
        QCOMPARE(t->pressEnterAndEscape([&](const char* form, const char* name, bool enter) {
            control(form, name)->setFocus();
            QTest::keyClick(control(form, name), enter ? Qt::Key_Return : Qt::Key_Escape);
        }),
                 "Form1 Command1 Command2");
    }

    // Only on an X server (qt_warning_focus): the offscreen platform focuses every window it shows.
    void warningTakesNoFocus() {
        if (QGuiApplication::platformName() == "offscreen") {
            QSKIP("needs a window system");
        }
        QVERIFY(QTest::qWaitForWindowActive(t->app.window("Form1")));
        warning::Link link;
        t->app.define("Form3", warning::Form3Definition(link));
        t->app.show("Form3");
        QVERIFY(QTest::qWaitForWindowExposed(t->app.window("Form3")));
        QVERIFY(t->app.window("Form3")->windowFlags() & Qt::WindowStaysOnTopHint);
        QCOMPARE(QApplication::activeWindow(), t->app.window("Form1"));
    }

    // Only with a notification area (qt_tray_icon: an X server with an XEmbed tray): the icon
    // docks there with its tooltip and menu and goes with its table; a minimized window reports
    // it, hides without a taskbar entry and comes back whole.
    void iconInTheNotificationArea() {
        if (!QSystemTrayIcon::isSystemTrayAvailable()) {
            QSKIP("needs a notification area");
        }
        QApplication::setWindowIcon(QIcon(QPixmap(48, 48)));
        t->show(trayicon::TrayIconTable());
        QSystemTrayIcon* icon = t->app.notificationIcon("TrayIcon");
        forms::Form& form = t->app.formOf("TrayIcon");
        form.setText("Label1", "还剩：5 秒 【关机】");
        form.setEnabled("Command3", true);
        QString menu;
        for (QAction* item : icon->contextMenu()->actions()) {
            menu += item->text() + (item->isEnabled() ? " " : "- ");
        }
        QCOMPARE(icon->toolTip() + "|" + menu,
                 "还剩：5 秒 【关机】|显示主窗口 立即执行- 推迟10分钟 重置- 退出 ");
        const auto docked = [] {
            QProcess tree;
            tree.start("xwininfo", {"-root", "-tree"});
            tree.waitForFinished();
            const QString out = tree.readAllStandardOutput();
            return out.indexOf("qt_toolkit_tests", out.indexOf("\"panel\"")) > 0;
        };
        QTRY_VERIFY(docked());
        icon->contextMenu()->actions()[2]->trigger();
        emit icon->activated(QSystemTrayIcon::Context);  // the menu only
        emit icon->activated(QSystemTrayIcon::Trigger);

        QWidget* window = t->app.window("Form1");
        window->setWindowState(Qt::WindowMinimized);
        QTRY_COMPARE(t->clicks, (std::vector<std::string>{"Command3", "Label1", "minimized"}));
        t->app.hide("Form1");
        QVERIFY(!window->isVisible());
        t->app.show("Form1");
        QVERIFY(window->isVisible() && !window->isMinimized());
        t->app.unload("TrayIcon");
        QVERIFY(!icon->isVisible());
        QTRY_VERIFY(!docked());
    }
};

QTEST_MAIN(QtToolkit)
#include "qt_toolkit_test.moc"

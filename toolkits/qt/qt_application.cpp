#include "toolkits/qt/qt_application.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QScreen>
#include <QTranslator>
#include <stdexcept>

#include "toolkits/qt/form_window.h"

namespace qtforms {

namespace {

void showBox(const QString& text, const QString& title, QMessageBox::Icon icon) {
    QMessageBox box(icon, title, text, QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText);
    // Closing the box must not end the program while no window of it happens to be visible.
    box.setAttribute(Qt::WA_QuitOnClose, false);
    box.exec();
}

}  // namespace

QtApplication::QtApplication() : translator_(std::make_unique<QTranslator>()) {
    // Chinese captions for the standard buttons of the message boxes ("确定").
    if (translator_->load(QStringLiteral("qtbase_zh_CN"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(translator_.get());
    }
    // The Song faces the tables name carry their Windows names, under which nothing is installed
    // here; this is the closest face with a real bold.
    for (const char* face : {"宋体", "新宋体"}) {
        QFont::insertSubstitution(QString::fromUtf8(face), QStringLiteral("Noto Serif CJK SC"));
    }
}

QtApplication::~QtApplication() {
    loaded_.clear();
    retired_.clear();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

template <typename Call>
void QtApplication::dispatch(FormWindow& window, Call call) {
    // A handler's own message box keeps its window's clock going, so that an armed trigger does
    // not miss its second while the user reads the box; a run-time error box stops it.
    if (ended_ || window.retired() || reportingError_) {
        return;
    }
    ++depth_;
    guarded([&] { call(window.handlers()); });
    guarded([&] {
        if (!ended_ && !window.retired()) {
            window.scheduleTick(window.handlers().nextTick());
        }
    });
    if (--depth_ == 0) {
        releaseRetired();
    }
}

template <typename Call>
bool QtApplication::guarded(Call call) {
    QString error;
    try {
        call();
        return true;
    } catch (const std::exception& e) {
        error = QString::fromUtf8(e.what());
    } catch (...) {
        error = QStringLiteral("未知错误");
    }
    if (!ended_) {
        reportingError_ = true;
        showBox(error, QStringLiteral("运行时错误"), QMessageBox::Critical);
        reportingError_ = false;
    }
    return false;
}

void QtApplication::define(std::string name, forms::FormDefinition definition) {
    definitions_.insert_or_assign(std::move(name), std::move(definition));
}

void QtApplication::show(std::string_view form) {
    if (ended_) {
        return;
    }
    if (auto it = loaded_.find(form); it != loaded_.end()) {
        FormWindow& open = *it->second;
        open.show();
        open.raise();
        open.activateWindow();
        return;
    }
    auto definition = definitions_.find(form);
    if (definition == definitions_.end()) {
        throw std::logic_error("no window named " + std::string(form));
    }
    const forms::FormDefinition& def = definition->second;
    FormWindow& window =
        *loaded_.emplace(std::string(form), std::make_unique<FormWindow>(*def.table)).first->second;
    if (!guarded([&] { window.setHandlers(def.makeHandlers(window.form(), *this)); })) {
        unload(form);
        return;
    }
    QObject::connect(&window, &FormWindow::clicked, &window, [this, &window](const QString& c) {
        dispatch(window, [&](forms::Handlers& h) { h.click(c.toStdString()); });
    });
    QObject::connect(&window, &FormWindow::ticked, &window,
                     [this, &window] { dispatch(window, [](forms::Handlers& h) { h.tick(); }); });
    QObject::connect(&window, &FormWindow::closeRequested, &window,
                     [this, name = std::string(form)] { unload(name); });

    dispatch(window, [](forms::Handlers& h) { h.load(); });
    if (ended_ || window.retired()) {
        return;
    }
    QRect frame(QPoint(), window.size());
    frame.moveCenter(window.screen()->availableGeometry().center());
    window.move(frame.topLeft());
    window.show();
    window.focusFirstControl();
    window.raise();
    window.activateWindow();
}

void QtApplication::unload(std::string_view form) {
    auto it = loaded_.find(form);
    if (it == loaded_.end()) {
        return;
    }
    it->second->retire();
    retired_.push_back(std::move(it->second));
    loaded_.erase(it);
    if (depth_ == 0) {
        releaseRetired();
    }
}

bool QtApplication::loaded(std::string_view form) const {
    return loaded_.contains(form);
}

void QtApplication::messageBox(std::string_view text, std::string_view title,
                               forms::MessageIcon icon) {
    if (ended_) {
        return;
    }
    showBox(
        qstr(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")), qstr(title),
        icon == forms::MessageIcon::Information ? QMessageBox::Information : QMessageBox::NoIcon);
}

void QtApplication::end() {
    ended_ = true;
    for (auto& [name, window] : loaded_) {
        window->scheduleTick(std::nullopt);
    }
    QCoreApplication::exit(0);
}

QWidget* QtApplication::window(std::string_view form) const {
    auto it = loaded_.find(form);
    return it == loaded_.end() ? nullptr : it->second.get();
}

void QtApplication::releaseRetired() {
    // A retired window may be the sender of the event being delivered right now.
    for (std::unique_ptr<FormWindow>& window : retired_) {
        window.release()->deleteLater();
    }
    retired_.clear();
}

}  // namespace qtforms

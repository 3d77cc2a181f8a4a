#include "toolkits/qt/form_window.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionGroupBox>
#include <QTimer>
#include <stdexcept>
#include <utility>

namespace qtforms {

namespace {

using forms::Control;
using forms::Kind;

QColor qcolour(const forms::Rgb& c) {
    return QColor(c.red, c.green, c.blue);
}

QRect pixels(const forms::Rect& r) {
    using forms::twipsToPixels;
    return {twipsToPixels(r.left), twipsToPixels(r.top), twipsToPixels(r.width),
            twipsToPixels(r.height)};
}

QFont qfont(const forms::Font& f) {
    QFont font(qstr(f.face));
    font.setPointSizeF(f.points);
    font.setBold(f.bold);
    return font;
}

// The text colour is left to the style for a disabled control, so that it still looks disabled;
// the background stays whatever the state.
void applyColours(QWidget* widget, const Control& c, QPalette::ColorRole fore,
                  QPalette::ColorRole back) {
    QPalette palette = widget->palette();
    if (c.foreColour) {
        for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
            palette.setColor(group, fore, qcolour(*c.foreColour));
        }
    }
    if (c.backColour) {
        palette.setColor(back, qcolour(*c.backColour));
    }
    widget->setPalette(palette);
}

// A frame whose caption has a colour of its own. The palette would hand that colour down to every
// control inside, which a frame's caption colour must not do, so it goes to the painting only.
class Frame final : public QGroupBox {
  public:
    Frame(const QString& caption, std::optional<forms::Rgb> colour, QWidget* parent)
        : QGroupBox(caption, parent), colour_(colour) {}

  protected:
    void initStyleOption(QStyleOptionGroupBox* option) const override {
        QGroupBox::initStyleOption(option);
        if (colour_) {
            option->palette.setColor(QPalette::WindowText, qcolour(*colour_));
            option->textColor = qcolour(*colour_);
        }
    }

  private:
    std::optional<forms::Rgb> colour_;
};

}  // namespace

QWidget* FormWindow::control(std::string_view name) const {
    auto it = widgets_.find(name);
    return it == widgets_.end() ? nullptr : it->second;
}

std::string FormWindow::text(const Control& c) const {
    QWidget* widget = control(c.name);
    if (const auto* box = qobject_cast<QComboBox*>(widget)) {
        return box->currentText().toStdString();
    }
    if (const auto* frame = qobject_cast<QGroupBox*>(widget)) {
        return frame->title().toStdString();
    }
    // A line edit, a button or a label.
    return widget->property("text").toString().toStdString();
}

void FormWindow::setText(const Control& c, std::string_view text) {
    QWidget* widget = control(c.name);
    if (auto* box = qobject_cast<QComboBox*>(widget)) {
        // A text of its own selects no item, even one that reads the same.
        box->setCurrentIndex(-1);
        box->setEditText(qstr(text));
    } else if (auto* frame = qobject_cast<QGroupBox*>(widget)) {
        frame->setTitle(qstr(text));
    } else {
        widget->setProperty("text", qstr(text));
    }
}

bool FormWindow::enabled(const Control& c) const {
    // The control's own switch: a disabled frame does not switch off what it holds.
    QWidget* widget = control(c.name);
    return widget->isEnabledTo(widget->parentWidget());
}

void FormWindow::setEnabled(const Control& c, bool on) {
    control(c.name)->setEnabled(on);
}

bool FormWindow::checked(const Control& c) const {
    return static_cast<QRadioButton*>(control(c.name))->isChecked();
}

void FormWindow::setChecked(const Control& c, bool on) {
    // The buttons of a container form an exclusive group, which checking one clears.
    if (on) {
        static_cast<QRadioButton*>(control(c.name))->setChecked(true);
    }
}

int FormWindow::itemCount(const Control& c) const {
    return static_cast<QComboBox*>(control(c.name))->count();
}

void FormWindow::addItem(const Control& c, std::string_view item) {
    auto* box = static_cast<QComboBox*>(control(c.name));
    // Qt selects the first item put into an empty list; the form keeps its text and selection.
    const QString text = box->currentText();
    const int index = box->currentIndex();
    box->addItem(qstr(item));
    if (box->currentIndex() != index) {
        box->setCurrentIndex(index);
        box->setEditText(text);
    }
}

void FormWindow::showItem(const Control& c, int index) {
    // Shows the item's text, also over what the user typed while the index stayed.
    static_cast<QComboBox*>(control(c.name))->setCurrentIndex(index);
}

void FormWindow::clicked(const Control& c) {
    if (events_ != nullptr) {
        events_->clicked(*this, c.name);
    }
}

FormWindow::FormWindow(const forms::FormTable& table, forms::WindowEvents& events)
    : table_(table), events_(&events), form_(table, *this), tickTimer_(new QTimer(this)) {
    setObjectName(qstr(table.name));
    setWindowTitle(qstr(table.caption));
    setFixedSize(forms::twipsToPixels(table.clientWidth), forms::twipsToPixels(table.clientHeight));
    setWindowFlag(Qt::WindowStaysOnTopHint, table.topMost);
    setWindowFlag(Qt::WindowDoesNotAcceptFocus, table.showWithoutActivating);
    setAttribute(Qt::WA_ShowWithoutActivating, table.showWithoutActivating);

    // Frames first, so that they lie below every other control, also below a control of the
    // window that overlaps one.
    for (const Control& c : table.controls) {
        if (c.kind == Kind::Frame) {
            widgets_.emplace(c.name, build(c));
        }
    }
    for (const Control& c : table.controls) {
        if (c.kind != Kind::Frame && c.kind != Kind::Timer) {
            widgets_.emplace(c.name, build(c));
        }
    }

    const std::vector<const Control*> order = forms::focusOrder(table);
    for (std::size_t i = 1; i < order.size(); ++i) {
        setTabOrder(control(order[i - 1]->name), control(order[i]->name));
    }

    tickTimer_->setSingleShot(true);
    tickTimer_->setTimerType(Qt::PreciseTimer);
    connect(tickTimer_, &QTimer::timeout, this, [this] {
        if (events_ != nullptr) {
            events_->ticked(*this);
        }
    });
}

QWidget* FormWindow::build(const Control& c) {
    QWidget* parent = c.container.empty() ? this : control(c.container);
    const QString text = qstr(c.text);
    QWidget* widget = nullptr;
    switch (c.kind) {
        case Kind::TextBox:
            widget = new QLineEdit(text, parent);
            applyColours(widget, c, QPalette::Text, QPalette::Base);
            break;
        case Kind::ComboBox: {
            auto* box = new QComboBox(parent);
            box->setEditable(true);
            box->setInsertPolicy(QComboBox::NoInsert);
            // What the user types stays as typed: no completion from the items.
            box->setCompleter(nullptr);
            box->setEditText(text);
            applyColours(box, c, QPalette::Text, QPalette::Base);
            applyColours(box->lineEdit(), c, QPalette::Text, QPalette::Base);
            widget = box;
            break;
        }
        case Kind::OptionButton: {
            auto* option = new QRadioButton(text, parent);
            option->setChecked(c.selected);
            auto* group = parent->findChild<QButtonGroup*>(QString(), Qt::FindDirectChildrenOnly);
            (group != nullptr ? group : new QButtonGroup(parent))->addButton(option);
            applyColours(option, c, QPalette::WindowText, QPalette::Window);
            connect(option, &QRadioButton::clicked, this, [this, &c] { clicked(c); });
            widget = option;
            break;
        }
        case Kind::PushButton: {
            auto* button = new QPushButton(text, parent);
            button->setDefault(c.name == table_.defaultButton);
            applyColours(button, c, QPalette::ButtonText, QPalette::Button);
            connect(button, &QPushButton::clicked, this, [this, &c] { clicked(c); });
            widget = button;
            break;
        }
        case Kind::Label: {
            auto* label = new QLabel(text, parent);
            label->setTextFormat(Qt::PlainText);
            label->setAlignment(Qt::AlignTop | (c.align == forms::Align::Centre ? Qt::AlignHCenter
                                                                                : Qt::AlignLeft));
            label->setAutoFillBackground(true);
            label->installEventFilter(this);
            applyColours(label, c, QPalette::WindowText, QPalette::Window);
            widget = label;
            break;
        }
        case Kind::Frame:
            widget = new Frame(text, c.foreColour, parent);
            break;
        case Kind::Timer:
            return nullptr;
    }
    widget->setObjectName(qstr(c.name));
    widget->setEnabled(c.enabled);
    if (c.font) {
        widget->setFont(qfont(*c.font));
    }
    QRect rect = pixels(c.rect);
    if (c.kind == Kind::ComboBox) {
        // A combo box is as high as its font makes it.
        rect.setHeight(widget->sizeHint().height());
    }
    widget->setGeometry(rect);
    return widget;
}

void FormWindow::scheduleTick(std::optional<std::chrono::milliseconds> after) {
    if (after) {
        tickTimer_->start(std::max(*after, std::chrono::milliseconds(0)));
    } else {
        tickTimer_->stop();
    }
}

void FormWindow::present() {
    QRect frame(QPoint(), size());
    frame.moveCenter(screen()->availableGeometry().center());
    move(frame.topLeft());
    show();
    if (table_.showWithoutActivating) {
        return;
    }
    const std::vector<const Control*> order = forms::focusOrder(table_);
    if (!order.empty()) {
        control(order.front()->name)->setFocus();
    }
    raise();
    activateWindow();
}

void FormWindow::bringForward() {
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    if (!table_.showWithoutActivating) {
        activateWindow();
    }
}

void FormWindow::retire() {
    tickTimer_->stop();
    events_ = nullptr;
    hide();
}

void FormWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    // Reported once the window manager is done with the change, which hiding the window in the
    // middle of would leave half made.
    if (event->type() == QEvent::WindowStateChange && isMinimized()) {
        QTimer::singleShot(0, this, [this] {
            if (events_ != nullptr && isMinimized()) {
                events_->minimized(*this);
            }
        });
    }
}

void FormWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    if (events_ != nullptr) {
        events_->closed(*this);
    }
}

// The keys of a Windows dialog, which a plain widget does not have: Enter presses the push button
// that has the focus, else the default one; Escape closes a window that asks for it.
void FormWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        auto* button = qobject_cast<QPushButton*>(focusWidget());
        if (button == nullptr) {
            button = qobject_cast<QPushButton*>(control(table_.defaultButton));
        }
        if (button != nullptr && button->isEnabled()) {
            button->click();
            return;
        }
    } else if (event->key() == Qt::Key_Escape && table_.escapeCloses) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool FormWindow::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton) {
            return false;
        }
        // The label keeps the press, so the release comes back to it and completes the click.
        const auto* label = static_cast<QWidget*>(watched);
        if (type == QEvent::MouseButtonRelease &&
            label->rect().contains(mouse->position().toPoint())) {
            clicked(table_.control(label->objectName().toStdString()));
        }
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace qtforms

// One window built from its control table as Qt widgets, and the form interface its handlers use
// over those widgets.
#pragma once

#include <QString>
#include <QWidget>
#include <chrono>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "forms/form.h"
#include "forms/window_host.h"

class QTimer;

namespace qtforms {

inline QString qstr(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

class WidgetForm final : public forms::Form {
  public:
    explicit WidgetForm(const forms::FormTable& table) : table_(table) {}

    // Registers the widget built for a control; timers have none.
    void add(const forms::Control& control, QWidget* widget);
    // The widget of that control; nullptr for a timer or an unknown name.
    QWidget* widget(std::string_view control) const;

    std::string text(std::string_view control) const override;
    void setText(std::string_view control, std::string_view text) override;
    bool enabled(std::string_view control) const override;
    void setEnabled(std::string_view control, bool on) override;
    bool selected(std::string_view control) const override;
    void setSelected(std::string_view control) override;
    void addItem(std::string_view control, std::string_view item) override;
    void setListIndex(std::string_view control, int index) override;

  private:
    struct Entry {
        QWidget* widget = nullptr;  // none for a timer
        bool timerOn = false;
    };
    // The control's entry, when its kind has that property (see forms::controlFor).
    const Entry& entry(std::string_view control, forms::Access access) const;
    Entry& entry(std::string_view control, forms::Access access);
    template <typename Widget = QWidget>
    Widget* widgetFor(std::string_view control, forms::Access access) const;

    const forms::FormTable& table_;
    std::map<std::string, Entry, std::less<>> entries_;
};

class FormWindow final : public QWidget, public forms::HostedWindow {
    Q_OBJECT

  public:
    explicit FormWindow(const forms::FormTable& table);

    forms::Form& form() override { return form_; }
    QWidget* control(std::string_view name) const { return form_.widget(name); }

    void scheduleTick(std::optional<std::chrono::milliseconds> after) override;
    void present() override;
    void bringForward() override;
    // Also cuts the window off from its receivers: a retired window may still be waiting for its
    // deferred deletion.
    void retire() override;

  signals:
    void clicked(const QString& control);
    void ticked();
    void closeRequested();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* build(const forms::Control& control);

    const forms::FormTable& table_;
    WidgetForm form_;
    QTimer* tickTimer_;
};

}  // namespace qtforms

// One window built from its control table as Qt widgets, and the form interface its handlers use
// over those widgets.
#pragma once

#include <QString>
#include <QWidget>
#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "forms/control_form.h"
#include "forms/form.h"
#include "forms/window_host.h"

class QTimer;

namespace qtforms {

inline QString qstr(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

class FormWindow final : public QWidget, public forms::HostedWindow, private forms::ControlView {
  public:
    FormWindow(const forms::FormTable& table, forms::WindowEvents& events);

    forms::Form& form() override { return form_; }
    // The widget of that control; nullptr for a timer or an unknown name.
    QWidget* control(std::string_view name) const;

    void scheduleTick(std::optional<std::chrono::milliseconds> after) override;
    void present() override;
    void bringForward() override;
    void withdraw() override { hide(); }
    // Also stops its reports: a retired window may still be waiting for its deferred deletion.
    void retire() override;

  protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    using Control = forms::Control;
    std::string text(const Control& c) const override;
    void setText(const Control& c, std::string_view text) override;
    bool enabled(const Control& c) const override;
    void setEnabled(const Control& c, bool on) override;
    bool checked(const Control& c) const override;
    void setChecked(const Control& c, bool on) override;
    int itemCount(const Control& c) const override;
    void addItem(const Control& c, std::string_view item) override;
    void showItem(const Control& c, int index) override;

    QWidget* build(const Control& control);
    void clicked(const Control& control);

    const forms::FormTable& table_;
    forms::WindowEvents* events_;  // none once retired
    std::map<std::string, QWidget*, std::less<>> widgets_;
    forms::ControlForm form_;
    QTimer* tickTimer_;
};

}  // namespace qtforms

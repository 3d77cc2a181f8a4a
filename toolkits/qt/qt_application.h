// The program's windows on Qt Widgets: each built from its control table when it is shown, its
// clicks and timer wake-ups passed to its handlers one at a time.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "forms/form.h"

class QTranslator;
class QWidget;

namespace qtforms {

class FormWindow;

// Needs a QApplication that outlives it.
class QtApplication final : public forms::Application {
  public:
    QtApplication();
    ~QtApplication() override;
    QtApplication(const QtApplication&) = delete;
    QtApplication& operator=(const QtApplication&) = delete;

    void define(std::string name, forms::FormDefinition definition);

    void show(std::string_view form) override;
    void unload(std::string_view form) override;
    bool loaded(std::string_view form) const override;
    void messageBox(std::string_view text, std::string_view title,
                    forms::MessageIcon icon) override;
    void end() override;

    // The loaded window of that name, or nullptr.
    QWidget* window(std::string_view form) const;

  private:
    template <typename Call>
    void dispatch(FormWindow& window, Call call);
    template <typename Call>
    bool guarded(Call call);
    void releaseRetired();

    std::unique_ptr<QTranslator> translator_;
    std::map<std::string, forms::FormDefinition, std::less<>> definitions_;
    std::map<std::string, std::unique_ptr<FormWindow>, std::less<>> loaded_;
    // Windows unloaded while a handler may still be running; deleted once none runs.
    std::vector<std::unique_ptr<FormWindow>> retired_;
    int depth_ = 0;
    bool ended_ = false;
    bool reportingError_ = false;
};

}  // namespace qtforms

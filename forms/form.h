// What a window's handlers see of the toolkit: the state of its controls, the other windows, modal
// message boxes and the end of the program. Both toolkits and the in-memory form implement it.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "forms/control_table.h"

namespace forms {

// The controls of one loaded window, named as in its control table. Naming a control the table
// does not have, or asking a control for a property its kind lacks, throws std::logic_error.
class Form {
  public:
    virtual ~Form() = default;

    // Text of a text box or combo box, caption of any other control.
    virtual std::string text(std::string_view control) const = 0;
    virtual void setText(std::string_view control, std::string_view text) = 0;

    // For a timer: whether it is switched on.
    virtual bool enabled(std::string_view control) const = 0;
    virtual void setEnabled(std::string_view control, bool on) = 0;

    // Option buttons: selecting one clears the others of its container.
    virtual bool selected(std::string_view control) const = 0;
    virtual void setSelected(std::string_view control) = 0;

    // Combo boxes: appending an item, and selecting one by index (which sets the text; -1 selects
    // none).
    virtual void addItem(std::string_view control, std::string_view item) = 0;
    virtual void setListIndex(std::string_view control, int index) = 0;
};

enum class MessageIcon { None, Information, Error };

// The program's windows as a whole.
class Application {
  public:
    virtual ~Application() = default;

    // Loads the window if it is not loaded (building its controls and running its load handler)
    // and shows it modeless; an open window is only brought forward.
    virtual void show(std::string_view form) = 0;
    // Destroys the window, its controls and its timers, and the windows that belong to it; nothing
    // of their state survives.
    virtual void unload(std::string_view form) = 0;
    // Hides a loaded window, with its taskbar entry, until it is shown again.
    virtual void hide(std::string_view form) = 0;
    virtual bool loaded(std::string_view form) const = 0;
    // The controls of a loaded window; throws std::logic_error when it is not loaded.
    virtual Form& formOf(std::string_view form) const = 0;
    // A modal message box with one OK button; returns when the user has closed it.
    virtual void messageBox(std::string_view text, std::string_view title, MessageIcon icon) = 0;
    // Ends the program at once: no further handler runs.
    virtual void end() = 0;
};

// One loaded window's handlers. The toolkit calls them one at a time on the window thread.
class Handlers {
  public:
    virtual ~Handlers() = default;

    virtual void load() {}
    virtual void click(std::string_view /*control*/) {}
    // One wake-up of the window's timers; the handlers run whichever of them are switched on.
    virtual void tick() {}
    // The user minimized the window.
    virtual void minimized() {}
    // How long until the next wake-up, or nothing while no timer of the window runs. Asked after
    // the load and after every handler.
    virtual std::optional<std::chrono::milliseconds> nextTick() const { return std::nullopt; }
};

// What a toolkit needs to load a window: its table and a way to make its handlers.
struct FormDefinition {
    const FormTable* table = nullptr;
    std::function<std::unique_ptr<Handlers>(Form&, Application&)> makeHandlers;
};

}  // namespace forms

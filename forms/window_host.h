// What every toolkit's application shares: loading a window from its definition, calling its
// handlers one at a time, showing a handler's error instead of letting it escape, destroying a
// window unloaded during a handler once no handler runs, and nothing at all after the end.
#pragma once

#include <chrono>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "forms/form.h"

namespace forms {

// One window of a toolkit, as the host drives it. The window owns its form; the host owns the
// window's handlers.
class HostedWindow {
  public:
    virtual ~HostedWindow() = default;

    virtual Form& form() = 0;
    // One wake-up after that delay, replacing any pending one; none at all for no delay.
    virtual void scheduleTick(std::optional<std::chrono::milliseconds> after) = 0;
    // Shown for the first time: centred on its screen, the focus on its first control.
    virtual void present() = 0;
    // Shown again, in front of the program's other windows, also when minimized or hidden.
    virtual void bringForward() = 0;
    // Hidden, with its taskbar entry, until brought forward again.
    virtual void withdraw() = 0;
    // Unloaded: hidden and silent for good, waiting to be destroyed.
    virtual void retire() = 0;
};

// What a toolkit's window reports to the host that made it, the same way on every toolkit.
class WindowEvents {
  public:
    virtual void clicked(HostedWindow& window, std::string_view control) = 0;
    virtual void ticked(HostedWindow& window) = 0;
    virtual void minimized(HostedWindow& window) = 0;
    // Closed by the user, with its close box or a key that closes it.
    virtual void closed(HostedWindow& window) = 0;

  protected:
    ~WindowEvents() = default;
};

class WindowHost : public Application, public WindowEvents {
  public:
    void define(std::string name, FormDefinition definition);

    void show(std::string_view form) final;
    void unload(std::string_view form) final;
    void hide(std::string_view form) final;
    bool loaded(std::string_view form) const final;
    void messageBox(std::string_view text, std::string_view title, MessageIcon icon) final;
    void end() final;
    // Whether the program has ended: by a handler, or because its first window could not start.
    bool ended() const { return ended_; }

    Form& formOf(std::string_view form) const final;
    // The handlers of a loaded window, or nullptr: for what the program is asked as it starts
    // that a user could not type.
    Handlers* handlersOf(std::string_view form) const;
    // For what the program is asked to do as it starts, done as the user would: a click on a
    // control of a loaded window.
    void press(std::string_view form, std::string_view control);

  protected:
    WindowHost() = default;
    ~WindowHost() override = default;
    WindowHost(const WindowHost&) = delete;
    WindowHost& operator=(const WindowHost&) = delete;

    // A window that is no longer loaded is not heard. A closed window is unloaded.
    void clicked(HostedWindow& window, std::string_view control) final;
    void ticked(HostedWindow& window) final;
    void minimized(HostedWindow& window) final;
    void closed(HostedWindow& window) final;

    // The loaded window of that name, or nullptr; and every loaded window.
    HostedWindow* find(std::string_view form) const;
    std::vector<HostedWindow*> windows() const;
    // Destroys every window at once, each after its handlers. For the toolkit's destructor.
    void destroyAll();

  private:
    // The toolkit's part: a window built from its table, a modal message box, the end of the
    // event loop, whether the desktop shows icons in a notification area, and what becomes of
    // windows no handler runs in any more.
    virtual std::unique_ptr<HostedWindow> makeWindow(const std::string& name,
                                                     const FormTable& table) = 0;
    virtual void showBox(std::string_view text, std::string_view title, MessageIcon icon) = 0;
    virtual void quit() = 0;
    virtual bool hasNotificationArea() const = 0;
    virtual void dispose(std::vector<std::unique_ptr<HostedWindow>> windows) = 0;

    struct Loaded {
        const FormTable* table = nullptr;
        std::unique_ptr<HostedWindow> window;
        // Declared after the window whose form they use, so that they go first.
        std::unique_ptr<Handlers> handlers;
    };
    // Both return false when the call failed; the error box names what failed, in the user's
    // terms, and says whether the program goes on.
    template <typename Call>
    bool dispatch(HostedWindow& window, std::string_view failed, bool fatal, Call call);
    template <typename Call>
    bool guarded(std::string_view failed, bool fatal, Call call);
    Loaded* entryOf(const HostedWindow& window);
    void releaseRetired();

    std::map<std::string, FormDefinition, std::less<>> definitions_;
    std::map<std::string, Loaded, std::less<>> loaded_;
    // Windows unloaded while a handler may still be running; given up once none runs.
    std::vector<Loaded> retired_;
    int depth_ = 0;
    bool ended_ = false;
    bool reportingError_ = false;
};

}  // namespace forms

#include "memory_host.h"

#include <stdexcept>

namespace testing_support {

MemoryForm& MemoryHost::window(std::string_view name) {
    forms::HostedWindow* found = find(name);
    if (found == nullptr) {
        throw std::logic_error("window " + std::string(name) + " is not loaded");
    }
    return static_cast<MemoryForm&>(*found);
}

void MemoryHost::click(std::string_view form, std::string_view control) {
    if (!ended()) {
        clicked(window(form), control);
    }
}

void MemoryHost::tick(std::string_view form) {
    if (!ended()) {
        ticked(window(form));
    }
}

void MemoryHost::showBox(std::string_view text, std::string_view title, forms::MessageIcon icon) {
    messages_.push_back({std::string(text), std::string(title), icon, {}});
    for (forms::HostedWindow* loaded : windows()) {
        messages_.back().loadedForms.push_back(static_cast<MemoryForm*>(loaded)->name);
    }
    whileBoxShows();
}

}  // namespace testing_support

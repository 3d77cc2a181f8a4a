// Any bytes as a settings file, and any section, key and value to write into it: nothing crashes
// or hangs, an untouched file is written back byte for byte, and what is written reads back.
// Input: section \1 key \1 value \1 file.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "settings/ini_document.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    std::string_view parts[4];
    for (int i = 0; i < 3; ++i) {
        const std::size_t end = input.find('\1');
        if (end == std::string_view::npos) {
            return 0;
        }
        parts[i] = input.substr(0, end);
        input.remove_prefix(end + 1);
    }
    parts[3] = input;

    rwini::IniDocument document(parts[3]);
    if (document.text() != parts[3]) {
        std::abort();
    }
    (void)document.value(parts[0], parts[1]);
    if (document.setValue(parts[0], parts[1], parts[2])) {
        const auto stored = rwini::IniDocument(document.text()).value(parts[0], parts[1]);
        if (!stored || *stored != parts[2]) {
            std::abort();
        }
    }
    return 0;
}

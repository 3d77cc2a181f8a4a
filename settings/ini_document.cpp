#include "settings/ini_document.h"

#include <algorithm>

#include "common/blanks.h"

namespace rwini {
namespace {

constexpr auto npos = std::string_view::npos;
constexpr std::string_view kLf = "\n";
constexpr std::string_view kCrLf = "\r\n";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// CRs before a line's end belong to its line ending, however the line ends: a last line without an
// LF must mean the same once a later write terminates it.
std::string_view content(std::string_view line) {
    return line.substr(0, line.find_last_not_of('\r') + 1);
}

// Only ASCII letters fold: the names are in the file's encoding, which this code does not know.
bool sameName(std::string_view a, std::string_view b) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    return std::ranges::equal(common::trimBlanks(a), common::trimBlanks(b),
                              [&](char x, char y) { return lower(x) == lower(y); });
}

// A line whose first non-blank byte is '[' opens a section. Its name runs up to the last ']', so
// that names holding ']' read back; a header missing its ']' still counts, named by the rest.
std::optional<std::string_view> sectionName(std::string_view line) {
    line = common::trimBlanks(content(line));
    if (!line.starts_with('[')) {
        return std::nullopt;
    }
    line.remove_prefix(1);
    return line.substr(0, line.rfind(']'));
}

// Where the '=' of a key line is; npos for section headers, comments and lines without one.
std::size_t keyEquals(std::string_view line) {
    const std::string_view start = common::trimBlanks(content(line));
    if (start.starts_with('[') || start.starts_with(';')) {
        return npos;
    }
    return content(line).find('=');
}

bool breaksLine(std::string_view text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) != npos;
}

}  // namespace

IniDocument::IniDocument(std::string_view text) {
    // Notepad and many other editors begin a UTF-8 file with a byte order mark. It belongs to the
    // file, not to its first line, which would otherwise not be seen as a section header.
    if (text.starts_with(kByteOrderMark)) {
        byteOrderMark_ = true;
        text.remove_prefix(kByteOrderMark.size());
    }
    while (!text.empty()) {
        const std::size_t lf = text.find('\n');
        if (lf == npos) {
            lines_.push_back({std::string(text), {}});
            break;
        }
        const bool crlf = lf > 0 && text[lf - 1] == '\r';
        lines_.push_back({std::string(text.substr(0, crlf ? lf - 1 : lf)), crlf ? kCrLf : kLf});
        text.remove_prefix(lf + 1);
    }
    if (!lines_.empty() && lines_.front().end == kCrLf) {
        newLine_ = kCrLf;
    }
}

IniDocument::Place IniDocument::find(std::string_view section, std::string_view key) const {
    Place place;
    std::size_t i = 0;
    for (; i < lines_.size(); ++i) {
        const auto name = sectionName(lines_[i].text);
        if (name && sameName(*name, section)) {
            break;
        }
    }
    if (i == lines_.size()) {
        return place;
    }
    place.section = i;
    place.afterLastKey = i + 1;
    for (++i; i < lines_.size() && !sectionName(lines_[i].text); ++i) {
        const std::string_view line = lines_[i].text;
        const std::size_t equals = keyEquals(line);
        if (equals == npos) {
            continue;
        }
        if (sameName(line.substr(0, equals), key)) {
            place.key = i;
            break;
        }
        place.afterLastKey = i + 1;
    }
    return place;
}

std::optional<std::string> IniDocument::value(std::string_view section,
                                              std::string_view key) const {
    const Place place = find(section, key);
    if (place.key == npos) {
        return std::nullopt;
    }
    const std::string_view line = content(lines_[place.key].text);
    return std::string(line.substr(keyEquals(line) + 1));
}

bool IniDocument::setValue(std::string_view section, std::string_view key, std::string_view value) {
    const std::string_view name = common::trimBlanks(key);
    if (breaksLine(section) || breaksLine(key) || breaksLine(value) || key.find('=') != npos ||
        name.starts_with('[') || name.starts_with(';')) {
        return false;
    }
    const Place place = find(section, key);
    if (place.key != npos) {
        std::string& line = lines_[place.key].text;
        line.replace(keyEquals(line) + 1, npos, value);
        return true;
    }
    std::string keyLine = std::string(key) + '=' + std::string(value);
    if (place.section != npos) {
        insertLine(place.afterLastKey, std::move(keyLine));
        return true;
    }
    insertLine(lines_.size(), '[' + std::string(section) + ']');
    insertLine(lines_.size(), std::move(keyLine));
    return true;
}

std::string IniDocument::text() const {
    std::string text(byteOrderMark_ ? kByteOrderMark : std::string_view());
    for (const Line& line : lines_) {
        text += line.text;
        text += line.end;
    }
    return text;
}

void IniDocument::insertLine(std::size_t index, std::string text) {
    if (index > 0 && lines_[index - 1].end.empty()) {
        lines_[index - 1].end = newLine_;
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(index), {std::move(text), newLine_});
}

}  // namespace rwini

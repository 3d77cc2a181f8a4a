// Stands in for shutdown.exe beside the program under test: it shuts nothing down, it appends the
// command line it was given and the local time to shutdown-record.txt in its own folder. It exits
// with the number in shutdown-exit-code.txt beside it, if there is one, else with 0.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::string utf8(const wchar_t* wide) {
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide, -1, text.data(), size, nullptr, nullptr);
    text.pop_back();
    return text;
}

}  // namespace

int wmain() {
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%04u-%02u-%02u %02u:%02u:%02u.%03u", now.wYear, now.wMonth,
                  now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds);

    std::wstring folder(MAX_PATH, L'\0');
    folder.resize(::GetModuleFileNameW(nullptr, folder.data(), MAX_PATH));
    folder.erase(folder.find_last_of(L'\\') + 1);

    int exitCode = 0;
    if (FILE* code = ::_wfopen((folder + L"shutdown-exit-code.txt").c_str(), L"r")) {
        if (std::fscanf(code, "%d", &exitCode) != 1) {
            exitCode = 0;
        }
        std::fclose(code);
    }

    const std::string line = utf8(::GetCommandLineW()) + '\t' + stamp + '\n';
    FILE* record = ::_wfopen((folder + L"shutdown-record.txt").c_str(), L"ab");
    if (record == nullptr) {
        return 100;
    }
    const bool written = std::fwrite(line.data(), 1, line.size(), record) == line.size();
    return std::fclose(record) == 0 && written ? exitCode : 100;
}

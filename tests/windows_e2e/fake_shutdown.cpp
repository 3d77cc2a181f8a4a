// Stands in for shutdown.exe beside the program: appends its command line and the moment it
// started, in ms since the epoch, to shutdown-record.txt and exits with FAKE_SHUTDOWN_EXIT. A
// console program without window functions, as the system's own is, so that Wine starts it as
// fast as it would start that one.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int wmain() {
    FILETIME now;
    ::GetSystemTimePreciseAsFileTime(&now);
    // From 100 ns since 1601 to ms since 1970.
    const ULONGLONG ms =
        ((ULONGLONG{now.dwHighDateTime} << 32 | now.dwLowDateTime) - 116444736000000000ULL) / 10000;
    // Without a record the test finds no call, and says so.
    if (FILE* record = ::_wfopen(L"shutdown-record.txt", L"ab")) {
        std::fprintf(record, "%ls\t%llu\n", ::GetCommandLineW(), ms);
        std::fclose(record);
    }
    const wchar_t* code = ::_wgetenv(L"FAKE_SHUTDOWN_EXIT");
    return code != nullptr ? ::_wtoi(code) : 0;
}

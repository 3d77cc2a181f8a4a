// Owners of Win32 handles: a std::unique_ptr per kind of handle, whose deleter gives the handle
// back the way that kind asks, on every way out of the owner's scope.
#pragma once

#include <windows.h>

#include <cstddef>
#include <memory>
#include <type_traits>

namespace win32handles {

// A kernel object whose functions answer null for none: a process, a mutex.
struct HandleCloser {
    void operator()(HANDLE handle) const { ::CloseHandle(handle); }
};
using UniqueHandle = std::unique_ptr<void, HandleCloser>;

// A handle whose functions answer INVALID_HANDLE_VALUE for none, as CreateFileW and FindFirstFileW
// do: the owner takes that value as empty, so no caller turns it into null by hand.
template <BOOL(WINAPI* Close)(HANDLE)>
struct InvalidValueCloser {
    struct pointer {
        HANDLE value = INVALID_HANDLE_VALUE;
        pointer() = default;
        pointer(std::nullptr_t) {}
        pointer(HANDLE handle) : value(handle) {}
        explicit operator bool() const { return value != INVALID_HANDLE_VALUE; }
        friend bool operator==(pointer, pointer) = default;
    };
    void operator()(pointer handle) const { Close(handle.value); }
};
// An open file, and a search of a folder.
using UniqueFile = std::unique_ptr<void, InvalidValueCloser<&::CloseHandle>>;
using UniqueFind = std::unique_ptr<void, InvalidValueCloser<&::FindClose>>;

// A window, with the child windows it holds.
struct WindowDestroyer {
    void operator()(HWND hwnd) const { ::DestroyWindow(hwnd); }
};
using UniqueWindow = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDestroyer>;

// A GDI object. It must not be deleted while a device context or a window still uses it.
struct GdiObjectDeleter {
    void operator()(HGDIOBJ object) const { ::DeleteObject(object); }
};
using UniqueFont = std::unique_ptr<std::remove_pointer_t<HFONT>, GdiObjectDeleter>;
using UniqueBrush = std::unique_ptr<std::remove_pointer_t<HBRUSH>, GdiObjectDeleter>;

// An icon the program loaded or made itself, not one of the system's shared icons.
struct IconDestroyer {
    void operator()(HICON icon) const { ::DestroyIcon(icon); }
};
using UniqueIcon = std::unique_ptr<std::remove_pointer_t<HICON>, IconDestroyer>;

// Memory the system handed out with LocalAlloc, such as CommandLineToArgvW's list.
struct LocalFreer {
    void operator()(void* memory) const { ::LocalFree(memory); }
};
template <typename T>
using UniqueLocal = std::unique_ptr<T, LocalFreer>;

}  // namespace win32handles

// The run-time library's handler for an exception nobody catches names the exception's type
// through the C++ demangler, which with the formatted printing it calls is a sixth of the .exe.
// This one writes the same lines to stderr, with the type's name as the compiler encoded it.
// Linked statically, a definition in the program wins: the library's is never pulled in.
#include <cxxabi.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <typeinfo>

void __gnu_cxx::__verbose_terminate_handler() {
    if (const std::type_info* type = abi::__cxa_current_exception_type()) {
        std::fputs("terminate called after throwing an instance of '", stderr);
        std::fputs(type->name(), stderr);
        std::fputs("'\n", stderr);
        try {
            throw;
        } catch (const std::exception& e) {
            std::fputs("  what():  ", stderr);
            std::fputs(e.what(), stderr);
            std::fputs("\n", stderr);
        } catch (...) {
        }
    } else {
        std::fputs("terminate called without an active exception\n", stderr);
    }
    std::abort();
}

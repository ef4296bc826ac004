// The platform's library load notification: it records the module handle
// and does nothing else.

#include "host/Entry.h"

#if defined(_WIN32)

// Called by the C runtime's DLL start-up code for every reason code.
extern "C" int __stdcall DllMain(void* instance, unsigned long reason, void* reserved) {
    return libraryLoadHook(instance, reason, reserved);
}

#else

// The linker places this symbol at the start of the loaded module, so its
// address is the module's base: the ELF counterpart of a module handle.
extern "C" const char __ehdr_start[] __attribute__((visibility("hidden")));

namespace {

constexpr unsigned long ProcessAttach = 1;

__attribute__((constructor)) void onLibraryLoad() {
    libraryLoadHook(const_cast<char*>(__ehdr_start), ProcessAttach, nullptr);
}

} // namespace

#endif

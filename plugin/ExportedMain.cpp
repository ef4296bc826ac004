// The one symbol the plug-in exports. A C++ function may not be called
// `main` with this signature, so the function gets another name here and is
// exported as `main` by the linker: through an assembler label on ELF
// platforms and through the module definition file on Windows.

#include "host/Entry.h"

#if defined(_WIN32)
extern "C" EffectRecord* VARNEX_CALL varnexExportedMain(HostCallback callback);
#else
extern "C" __attribute__((visibility("default"))) EffectRecord*
varnexExportedMain(HostCallback callback) __asm__("main");
#endif

extern "C" EffectRecord* VARNEX_CALL varnexExportedMain(HostCallback callback) {
    return pluginMain(callback);
}

#include "cli/LinkedPlugin.h"

#include "host/Entry.h"

namespace {

EffectRecord* VARNEX_CALL linkedEntry(HostCallback callback) {
    return pluginMain(callback);
}

} // namespace

PluginSource linkedVarnexPlugin() {
    return PluginSource::linked(&linkedEntry, "Varnex (built into varnex)");
}

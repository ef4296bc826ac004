#pragma once
// The Varnex plug-in linked into this program. Its editor runs in the
// window system of the process that links it, so the commands that open
// the editor (snapshot, render --curve) make their instance here, still
// only through the entry and the record.

#include "cli/PluginHost.h"

PluginSource linkedVarnexPlugin();

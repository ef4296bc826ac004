#pragma once
// The module the toolkit belongs to: bitmaps load from its resources, and
// its handle names and registers the frames' window class. The layer that
// knows the module sets it before the first bitmap or frame is made; until
// then it is none.

void setToolkitModule(void* module);
void* toolkitModule();

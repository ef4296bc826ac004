#pragma once
// varnex bench --editor: the editor's side of the timing command.

#include "cli/Commands.h"

#include <cstdint>
#include <string>

struct EditorBenchOptions {
    std::string pluginPath; // empty: the Varnex plug-in beside the program
    std::int32_t cycles = 20;
};

// Reads the arguments of `bench --editor`; a UsageError for anything it
// cannot use, among them the options that only time audio entries.
EditorBenchOptions parseEditorBenchArguments(const Arguments& arguments);

// Runs the benchmark and prints its figures; a CommandError when an opening
// of the editor shows no paint within 2 s.
int runEditorBench(const EditorBenchOptions& options);

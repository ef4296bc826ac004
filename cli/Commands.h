#pragma once
// The subcommands of `varnex`. Each lives in its own file and is listed in
// the table of main.cpp; it gets the arguments after its own name, prints
// its results on stdout and returns the exit status, and reports failures
// by throwing CommandError (or UsageError for bad arguments).

#include <string>
#include <vector>

using Arguments = std::vector<std::string>;

struct Command {
    const char* name;
    const char* synopsis; // arguments, as shown in the usage text
    const char* summary;  // one line of what it does
    int (*run)(const Arguments& arguments);
};

int runInfoCommand(const Arguments& arguments);
int runRenderCommand(const Arguments& arguments);
int runBenchCommand(const Arguments& arguments);
int runSnapshotCommand(const Arguments& arguments);
int runEditCommand(const Arguments& arguments);
int runGalleryCommand(const Arguments& arguments);
int runValidateCommand(const Arguments& arguments);
int runAnalyzeCommand(const Arguments& arguments);

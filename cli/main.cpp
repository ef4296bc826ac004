// varnex: the project's command-line host. It loads plug-in binaries the
// way a host does and offers one subcommand per task.

#include "cli/CommandError.h"
#include "cli/Commands.h"
#include "platform/HostWindow.h"

#include <array>
#include <cstdio>
#include <exception>
#include <string>

namespace {

constexpr Command Commands[] = {
    {"info", "[PLUGIN] [--json] [--preset FILE]",
     "identity, parameters and programs of a plug-in (default: the Varnex plug-in beside "
     "this program), after loading the preset when one is given",
     runInfoCommand},
    {"render",
     "[IN] [-o OUT] [--plugin PATH] [--preset FILE] [--set NAME=VALUE ...] [--program N] "
     "[--block FRAMES] [--adding] [--curve X,Y;X,Y;... [--curve-normalized]] "
     "[--save-preset FILE.fxp|FILE.fxb]",
     "render an audio file (IN-varnex.wav beside it) or, without IN, the built-in demo song "
     "(varnex-demo-input.wav and varnex-demo-output.wav) through a plug-in; --curve first "
     "draws the transfer curve in Varnex's editor; --preset loads a preset file first, "
     "--save-preset writes the plug-in's state after",
     runRenderCommand},
    {"bench", "[PLUGIN ...] [--block N] [--seconds S] | --editor [PLUGIN] [--cycles N]",
     "time plug-ins' audio entries (ns per stereo frame at blocks of 32, 512, 4096) and "
     "compare each with the first; with --editor, open and close a plug-in's editor N times "
     "(default 20) in a real window while audio runs, and time its first paint, its idle and "
     "the CPU it takes",
     runBenchCommand},
    {"snapshot",
     "[-o editor.png] [--preset FILE] [--set NAME=VALUE ...] [--program N] [--curve "
     "X,Y;X,Y;... [--curve-normalized]] [--save-preset FILE.fxp|FILE.fxb]",
     "open Varnex's editor in a window of this program, draw the curve as a user would "
     "(points in the curve's pixels, 11 to 255 with y downwards, or 0..1 with "
     "--curve-normalized) and save what it shows as a PNG",
     runSnapshotCommand},
    {"edit",
     "[--plugin PATH] [--preset FILE] [--set NAME=VALUE ...] [--program N] [--curve "
     "X,Y;X,Y;... [--curve-normalized]] [--screenshot FILE.png] "
     "[--save-preset FILE.fxp|FILE.fxb]",
     "show a plug-in's editor (default: the Varnex plug-in beside this program) in a window of "
     "this program and print each parameter change made in it; --curve draws Varnex's curve "
     "with the real pointer; ends when the window is closed or on Ctrl-C, or, with "
     "--screenshot, once what the window shows is saved as a PNG",
     runEditCommand},
    {"gallery", "[-o gallery.png]",
     "draw every control of the toolkit (the editor's and the further ones) in a few states, "
     "each labelled with its class, on one picture and save it as a PNG",
     runGalleryCommand},
    {"validate", "[PLUGIN ...] [--level 1..10] [--seed N] [--json] [--jobs N] [--time-limit S]",
     "run graded checks on plug-ins (default: the Varnex plug-in beside this program), each "
     "in a process of its own with a time limit, so that a crash or a hang fails only its "
     "check: one PASS, FAIL or SKIP line per check, the shortest call sequence that reproduces "
     "a failure, and 'N passed, N failed' at the end (exit status 1 when a check fails); "
     "--level sets how many random calls are made (default 5; 10: a million dispatcher "
     "calls), "
     "--seed which ones, --jobs how many checks run at once, --time-limit how many seconds "
     "each may take (default 120)",
     runValidateCommand},
    {"analyze",
     "[PLUGIN] [--set NAME=VALUE ...] [--program N] [--preset FILE] [--curve X,Y;X,Y;... "
     "[--curve-normalized]] [-o report.png] [--json]",
     "measure a plug-in (default: the Varnex plug-in beside this program) at 48 kHz as on a "
     "bench: its transfer curve, the harmonics of a 1 kHz sine at -18, -6 and 0 dBFS with THD "
     "and THD+N, its frequency response at -40 dBFS, the aliasing of a 1-20 kHz sweep, latency, "
     "DC offset and linearity; print the figures (--json: as JSON) and draw them as one PNG; "
     "--curve first draws the transfer curve in Varnex's editor",
     runAnalyzeCommand},
};

void printUsage(std::FILE* stream) {
    std::fputs("usage: varnex COMMAND [ARGUMENTS]\n\ncommands:\n", stream);
    for (const Command& command : Commands)
        std::fprintf(stream, "  varnex %s %s\n      %s\n", command.name, command.synopsis,
                     command.summary);
    std::fputs("  varnex help\n      this text\n", stream);
}

bool asksForHelp(const Arguments& arguments) {
    for (const std::string& argument : arguments)
        if (argument == "--help" || argument == "-h")
            return true;
    return false;
}

void reportError(const char* message) {
    std::fprintf(stderr, "varnex: %s\n", message);
}

} // namespace

int main(int argc, char** argv) {
    platform::useBinaryStandardStreams();
    if (argc < 2) {
        printUsage(stdout);
        return ExitUsage;
    }
    std::string name = argv[1];
    if (name == "help" || name == "--help" || name == "-h") {
        printUsage(stdout);
        return ExitSuccess;
    }
    for (const Command& command : Commands) {
        if (name != command.name)
            continue;
        Arguments arguments(argv + 2, argv + argc);
        if (asksForHelp(arguments)) {
            std::printf("usage: varnex %s %s\n    %s\n", command.name, command.synopsis,
                        command.summary);
            return ExitSuccess;
        }
        try {
            return command.run(arguments);
        } catch (const UsageError& error) {
            reportError((std::string(error.what()) + " (usage: varnex " + command.name + " " +
                         command.synopsis + ")")
                            .c_str());
            return ExitUsage;
        } catch (const std::exception& error) {
            reportError(error.what());
            return ExitFailure;
        }
    }
    reportError(("unknown command '" + name + "' (try 'varnex help')").c_str());
    return ExitUsage;
}

// varnex edit [--plugin PATH] [--preset FILE] [--set NAME=VALUE ...] [--program N]
//             [--curve X,Y;X,Y;... [--curve-normalized]] [--screenshot FILE.png]
//             [--save-preset FILE.fxp|.fxb]
//
// Shows a plug-in's editor in a window of this program, the way a host
// does, and prints every parameter change the user makes in it; with
// --screenshot it saves what the window shows and ends.

#include "cli/CommandError.h"
#include "cli/Commands.h"
#include "cli/CurveGestures.h"
#include "cli/LiveCurveDrawer.h"
#include "cli/LiveEditor.h"
#include "cli/ParameterSettings.h"
#include "cli/PendingFile.h"
#include "cli/PluginHost.h"
#include "cli/PngFile.h"
#include "cli/StateOptions.h"
#include "editor/ShaperEffectEdit.h"
#include "host/EffectBase.h"

#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <utility>

namespace {

// Idle for the editor about 30 times a second.
constexpr auto IdlePeriod = std::chrono::milliseconds(33);
// How long the first paint may take before the window is announced anyway.
constexpr auto FirstPaintTimeout = std::chrono::seconds(1);
// How long the editor may take to show a picture that holds still for
// --screenshot, from the first look.
constexpr auto ScreenshotTimeout = std::chrono::seconds(5);

struct EditOptions {
    std::string pluginPath; // empty: the Varnex plug-in beside the program
    std::optional<std::string> screenshotPath;
    StateOptions state{"edit"};
};

EditOptions parseEditArguments(const Arguments& arguments) {
    EditOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (options.state.take(arguments, i))
            continue;
        const std::string& argument = arguments[i];
        if (argument == "--plugin") {
            options.pluginPath = optionValue(arguments, i, "edit");
            if (options.pluginPath.empty())
                throw UsageError("edit: the plug-in path after --plugin is empty");
        } else if (argument == "--screenshot") {
            options.screenshotPath = optionValue(arguments, i, "edit");
            if (options.screenshotPath->empty())
                throw UsageError("edit: the file name after --screenshot is empty");
        } else if (argument.size() > 1 && argument[0] == '-') {
            throw UsageError("edit: unknown option '" + argument + "'");
        } else {
            throw UsageError("edit: unexpected argument '" + argument +
                             "' (the plug-in is given with --plugin)");
        }
    }
    options.state.check();
    return options;
}

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return "";
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// Prints each change the user makes, as the plug-in reports it, and lets
// the hand that draws a curve follow the editor.
class EditListener final : public HostListener {
  public:
    explicit EditListener(PluginHost& host) : host(host), names(parameterNames(host)) {}

    void parameterAutomated(std::int32_t index, float value) override {
        const bool known = index >= 0 && static_cast<std::size_t>(index) < names.size();
        const std::string name = known ? names[static_cast<std::size_t>(index)] : "?";
        const std::string display = trimmed(host.dispatchText(OpGetParameterText, index));
        const std::string unit = trimmed(host.dispatchText(OpGetParameterUnit, index));
        std::string shown = display;
        if (!unit.empty())
            shown += (shown.empty() ? "" : " ") + unit;
        std::printf("#%d %s = %.6f%s\n", static_cast<int>(index), name.c_str(),
                    static_cast<double>(value), shown.empty() ? "" : (" (" + shown + ")").c_str());
        std::fflush(stdout);
        if (drawer)
            drawer->noteParameterChange(index);
    }

    void idleRequested() override {
        if (drawer)
            drawer->noteTrackingIdle();
    }

    LiveCurveDrawer* drawer = nullptr;

  private:
    PluginHost& host;
    std::vector<std::string> names;
};

// Saves what the window shows once the editor has painted and two reads of
// the screen, a round of idle apart, agree: a paint still on its way to the
// screen would tell them apart.
class Screenshot {
  public:
    explicit Screenshot(std::string path) : path(std::move(path)) {}

    // Called once a round while the editor shows what is to be saved; true
    // once the picture is saved. A CommandError when the editor shows
    // nothing or the screen cannot be read within ScreenshotTimeout; an
    // editor that never holds still is taken as it last showed.
    bool take(const LiveEditor& editor) {
        const auto now = std::chrono::steady_clock::now();
        if (!deadline)
            deadline = now + ScreenshotTimeout;
        const bool late = now >= *deadline;
        platform::ScreenPicture shown;
        if (!editor.readScreen(shown)) {
            if (late)
                throw CommandError("cannot read the window back from the screen for the "
                                   "screenshot");
            return false;
        }
        if (!editor.showsPaint()) {
            if (late)
                throw CommandError("the editor showed nothing within " +
                                   std::to_string(ScreenshotTimeout.count()) +
                                   " s; no screenshot taken");
            return false;
        }
        if (shown != previous && !late) {
            previous = std::move(shown);
            return false;
        }
        savePng(path, shown);
        std::printf("saved %s\n", path.c_str());
        std::fflush(stdout);
        return true;
    }

  private:
    std::string path;
    std::optional<std::chrono::steady_clock::time_point> deadline;
    platform::ScreenPicture previous;
};

// Detaches the listener from the host however the command ends.
struct ListeningScope {
    PluginHost& host;
    ListeningScope(PluginHost& host, HostListener& listener) : host(host) {
        host.setListener(&listener);
    }
    ~ListeningScope() { host.setListener(nullptr); }
};

} // namespace

int runEditCommand(const Arguments& arguments) {
    const EditOptions options = parseEditArguments(arguments);
    std::vector<CurveGesture> gestures;
    if (options.state.curve)
        gestures = planCurveGestures(options.state.curvePoints());
    std::optional<Screenshot> screenshot;
    if (options.screenshotPath) {
        requirePngFiles("edit --screenshot");
        checkOutputFolder(*options.screenshotPath);
        screenshot.emplace(*options.screenshotPath);
    }

    PluginHost host(options.pluginPath.empty() ? defaultPluginPath() : options.pluginPath);
    if (options.state.curve && host.record().uniqueId != ShaperEffectEdit::UniqueId)
        throw CommandError("--curve draws on Varnex's curve editor; " + host.path() +
                           " is another plug-in");
    options.state.applyTo(host);

    const std::string name = pluginDisplayName(host);
    platform::watchForInterrupt();
    EditListener listener(host);
    ListeningScope listening(host, listener);
    // The hand outlives the editor, which may still call the host while it closes.
    std::unique_ptr<LiveCurveDrawer> drawer;
    LiveEditor editor(host, name + " (varnex edit)");
    editor.open();
    editor.idle();
    editor.waitForPaint(FirstPaintTimeout);
    const platform::IntPoint origin = editor.origin();
    std::printf("editing %s (%d x %d) at %d,%d; close the window or press Ctrl-C to end\n",
                name.c_str(), editor.width(), editor.height(), origin.x, origin.y);
    std::fflush(stdout);

    if (!gestures.empty()) {
        drawer = std::make_unique<LiveCurveDrawer>(gestures, origin);
        listener.drawer = drawer.get();
        drawer->start();
    }
    bool curveReported = false;
    bool screenshotSaved = false;
    auto next = std::chrono::steady_clock::now();
    while (!platform::interruptRequested()) {
        editor.idle();
        next += IdlePeriod;
        const auto now = std::chrono::steady_clock::now();
        if (next < now)
            next = now; // a control held the thread; no burst of idle to catch up
        const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(next - now);
        if (!editor.pump(static_cast<std::int32_t>(wait.count())))
            break;
        if (drawer && !curveReported && drawer->finished()) {
            curveReported = true;
            if (!drawer->failure().empty())
                break;
            std::printf("entered the curve: %zu points\n", gestures.size());
            std::fflush(stdout);
        }
        if (screenshot && (!drawer || curveReported) && screenshot->take(editor)) {
            screenshotSaved = true;
            break;
        }
    }
    std::string curveFailure;
    if (drawer) {
        drawer->stop();
        curveFailure = drawer->failure();
        listener.drawer = nullptr;
    }
    editor.close();
    if (!curveFailure.empty())
        throw CommandError(curveFailure);
    if (screenshot && !screenshotSaved)
        throw CommandError("the editor was closed before the screenshot was taken");
    options.state.saveState(host);
    return ExitSuccess;
}

#pragma once
// One instance driven by a list of calls, with the rules every call must
// keep: finite input gives finite, normal output; silence settles; a
// parameter reads back as a finite number; a refused chunk changes nothing;
// a program shows the same name and values each time it is selected; and,
// when asked, the audio entries and setParameter neither allocate nor lock.
// When asked, audio also runs on a thread of its own the whole time.

#include "cli/PluginHost.h"
#include "cli/validate/BackgroundAudio.h"
#include "cli/validate/Calls.h"
#include "cli/validate/EditorDriver.h"

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct SessionRules {
    float sampleRate = 44100.0f;
    std::int32_t blockSize = 8192;
    bool countRealtimeCalls = false;
    bool audioOnAnotherThread = false;
};

class Session {
  public:
    static constexpr std::int32_t MaxFrames = 8192;

    Session(const std::string& path, const SessionRules& rules);
    // Closes the editor and stops the audio thread before the instance goes.
    ~Session();
    // Performs the call; what rule it broke, as "rule: details", or none.
    std::optional<std::string> perform(const Call& call);
    PluginHost& host() { return *plugin; }
    // The first output channel of the last processed block.
    const std::vector<float>& firstOutput() const { return outputs.front(); }
    // What a passing run has to say beyond its rules being kept.
    std::string summary() const;
    // The rule the audio thread broke, if it runs and broke one.
    std::optional<std::string> audioFailure() const;

  private:
    std::optional<std::string> dispatch(const Call& call);
    std::optional<std::string> process(const Call& call);
    std::optional<std::string> selectProgram(std::int32_t number);
    std::optional<std::string> loadDamagedChunk(const Call& call);
    std::optional<std::string> editorCall(const Call& call);
    std::vector<std::uint8_t> chunk(bool program);
    std::vector<float> parameterValues();
    void fillInput(const Call& call, std::int32_t frames);

    SessionRules rules;
    std::unique_ptr<PluginHost> plugin;
    std::size_t channels;
    std::vector<std::vector<float>> inputs;
    std::vector<std::vector<float>> outputs;
    std::vector<char> scratch;
    float sampleRate;
    std::int32_t blockSize;
    long silentFrames = 0;
    std::map<std::int32_t, std::pair<std::string, std::vector<float>>> programsSeen;
    std::map<bool, std::vector<std::uint8_t>> cleanChunks;
    std::unique_ptr<BackgroundAudio> audio;
    std::unique_ptr<EditorDriver> editor;
};

// Replays `calls` on a fresh instance, marking each call's number as the
// process's progress; the first broken rule and the number of its call.
// `summary`, when given, receives the session's summary of a passing run.
struct ReplayFailure {
    std::string text;
    long at = 0;
};
std::optional<ReplayFailure> replayCalls(const std::string& path, const SessionRules& rules,
                                         const CallList& calls, std::string* summary = nullptr);

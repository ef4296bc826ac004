#pragma once
// Ardour 7 run headless for tests: a home and settings of its own, the
// built plug-in as the only LXVST plug-in it finds (scanned into its
// cache), Lua scripts run by its session runner with the dummy audio
// backend, and sessions exported by its command-line exporter. Session
// files are edited as text, and plug-in chunks travel in them as base64.

#include "tests/support/RunCommand.h"

#include <cstdint>
#include <string>
#include <vector>

namespace ardour {

using Bytes = std::vector<std::uint8_t>;

std::string base64(const Bytes& bytes);
Bytes fromBase64(const std::string& text);

// The text between the first <chunk ...> and </chunk> of a session file;
// `start` and `end` receive where it lies.
std::string chunkText(const std::string& session, std::size_t& start, std::size_t& end);
// Replaces the session's first chunk; false when it has none.
bool replaceChunk(std::string& session, const Bytes& chunk);

// The chunk of a Varnex bank whose programs differ and whose curve was
// drawn (five points), with `currentProgram` current. Program 5 mixes in
// little of the dry signal; program 11 none of the processed one.
Bytes drawnChunk(std::int32_t currentProgram = 11);

class Runner {
  public:
    // Empty when Ardour 7 is installed; else why the tests cannot run.
    static std::string missing();

    // Sets up the folders and scans `plugin` (a copy is scanned).
    Runner(ScratchFolder& scratch, const std::string& plugin);
    // The scanner's output: it names the plug-ins it found.
    const CommandResult& scan() const { return scanned; }

    // Lua that starts the dummy engine; scripts begin with it.
    static std::string engineStart();
    CommandResult runLua(const std::string& name, const std::string& script) const;
    // Installs a Lua DSP script where the session runner finds it.
    void addDspScript(const std::string& name, const std::string& script) const;
    // Exports the session's range from the master bus as 32-bit float WAV;
    // an export that hangs is ended after three minutes and tried once more.
    CommandResult exportSession(const std::string& folder, const std::string& name,
                                const std::string& wavFile) const;

  private:
    ScratchFolder& scratch;
    std::string settings;
    std::vector<std::string> environment;
    CommandResult scanned;
};

} // namespace ardour

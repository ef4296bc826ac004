#pragma once
// Loads a plug-in binary the way a host does and drives the one instance it
// makes: the library is opened with the system's dynamic loader, its `main`
// is called with this host's callback, and the instance is reached only
// through the record that `main` returns. Every failure to get a usable
// record is a CommandError with one line saying what is wrong.

#include "host/EffectRecord.h"
#include "platform/library/DynamicLibrary.h"

#include <atomic>
#include <cstdint>
#include <string>

using EntryFunction = EffectRecord*(VARNEX_CALL*)(HostCallback callback);

// Where an instance comes from: a plug-in binary on disk, or an entry
// linked into this program (the Varnex plug-in's, for the commands that
// open its editor in this process's window system).
struct PluginSource {
    std::string path;              // the binary, when `entry` is none
    EntryFunction entry = nullptr; // called directly when set
    std::string label;             // how messages name an in-process plug-in

    static PluginSource file(const std::string& path) { return {path, nullptr, path}; }
    static PluginSource linked(EntryFunction entry, const std::string& label) {
        return {"", entry, label};
    }
};

// What a host hears from an instance beyond the answers to its own calls.
// Called on whatever thread the plug-in calls the host from: for these two,
// the thread of the editor.
class HostListener {
  public:
    virtual ~HostListener() = default;
    // Host opcode 0: the user changed a parameter in the editor.
    virtual void parameterAutomated(std::int32_t index, float value) = 0;
    // Host opcode 3: a control of the editor tracks the mouse and holds the
    // thread; the host gets time to run.
    virtual void idleRequested() {}
};

class PluginHost {
  public:
    // What this host answers when a plug-in asks for the interface version.
    static constexpr IntPtr HostInterfaceVersion = 2400;
    // Sample rate and block size announced when the caller names none.
    static constexpr float SampleRate = 44100.0f;
    static constexpr std::int32_t BlockSize = 1024;
    // Size of every text buffer handed to the plug-in; far larger than the
    // interface's own limits, so a plug-in that overshoots them does no harm.
    static constexpr std::size_t TextBufferSize = 1024;

    // Loads the library at `path`, makes one instance and opens it with the
    // given sample rate and largest block size (opcodes 0, 10 and 11).
    explicit PluginHost(const std::string& path, float sampleRate = SampleRate,
                        std::int32_t blockSize = BlockSize);
    // The same with the instance from `source`: a linked entry is called
    // directly, and nothing is loaded.
    explicit PluginHost(const PluginSource& source, float sampleRate = SampleRate,
                        std::int32_t blockSize = BlockSize);
    // Closes the instance (opcode 1), then unloads the library.
    ~PluginHost();
    PluginHost(const PluginHost&) = delete;
    PluginHost& operator=(const PluginHost&) = delete;

    const std::string& path() const { return libraryPath; }
    const EffectRecord& record() const { return *effect; }
    float sampleRate() const { return announcedSampleRate; }
    std::int32_t blockSize() const { return announcedBlockSize; }

    IntPtr dispatch(std::int32_t opcode, std::int32_t index = 0, IntPtr value = 0,
                    void* ptr = nullptr, float opt = 0.0f);
    // Sends a text opcode with a zeroed buffer and returns what the plug-in
    // wrote, cut at the first zero or at the end of the buffer.
    std::string dispatchText(std::int32_t opcode, std::int32_t index = 0, IntPtr value = 0);

    bool hasParameterValue() const { return effect->parameterValue != nullptr; }
    float parameterValue(std::int32_t index);
    void setParameterValue(std::int32_t index, float value);
    void processAdding(float** inputs, float** outputs, std::int32_t frameCount);
    void processOverwriting(float** inputs, float** outputs, std::int32_t frameCount);
    // The editor's width and height from its rectangle (opcode 13); a
    // CommandError when the plug-in has no editor or no usable rectangle.
    struct EditorSize {
        std::int32_t width = 0;
        std::int32_t height = 0;
    };
    EditorSize editorSize();
    // Opcode 12: processing is about to start (resume) or has stopped (suspend).
    void resume();
    void suspend();

    // Where the instance's automation and idle requests go; none ignores them.
    void setListener(HostListener* listener) { hostListener.store(listener); }

    // The callback this host gives every plug-in it loads. It finds the
    // PluginHost through the record's `user` word, which is the host's.
    static IntPtr VARNEX_CALL hostCallback(EffectRecord* record, std::int32_t opcode,
                                           std::int32_t index, IntPtr value, void* ptr, float opt);

  private:
    void start(EntryFunction entry, const std::string& name);

    std::string libraryPath;
    DynamicLibrary library;
    EffectRecord* effect = nullptr;
    float announcedSampleRate;
    std::int32_t announcedBlockSize;
    std::atomic<HostListener*> hostListener{nullptr};
};

// The plug-in built together with this program: Varnex.so (Varnex.dll on
// Windows) in the folder of the running executable.
std::string defaultPluginPath();

#include "cli/PluginHost.h"

#include "cli/CommandError.h"
#include "host/EditorBase.h"
#include "host/EffectBase.h"

#include <cstdio>
#include <filesystem>
#include <system_error>
#include <vector>

namespace {

constexpr const char* EntryName = "main";
// The entry's other customary name: some plug-ins export only this one.
constexpr const char* AlternativeEntryName = "VSTPluginMain";

std::string hex32(std::int32_t number) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(number));
    return text;
}

// The path as the loader should see it: absolute, so that the library's own
// folder is where its neighbours are looked for.
std::string checkedLibraryPath(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code failure;
    fs::file_status status = fs::status(path, failure);
    if (!fs::exists(status))
        throw CommandError("no such file: " + path);
    if (fs::is_directory(status))
        throw CommandError("not a plug-in file but a folder: " + path);
    fs::path absolute = fs::absolute(path, failure);
    return failure ? path : absolute.string();
}

} // namespace

PluginHost::PluginHost(const std::string& path, float sampleRate, std::int32_t blockSize)
    : PluginHost(PluginSource::file(path), sampleRate, blockSize) {}

PluginHost::PluginHost(const PluginSource& source, float sampleRate, std::int32_t blockSize)
    : libraryPath(source.entry ? source.label : checkedLibraryPath(source.path)),
      announcedSampleRate(sampleRate), announcedBlockSize(blockSize) {
    if (source.entry) {
        start(source.entry, source.label);
        return;
    }
    if (!library.open(libraryPath))
        throw CommandError("cannot load " + source.path + ": " + library.errorText());
    auto entry = reinterpret_cast<EntryFunction>(library.symbol(EntryName));
    if (!entry)
        entry = reinterpret_cast<EntryFunction>(library.symbol(AlternativeEntryName));
    if (!entry)
        throw CommandError(source.path + " exports no function '" + std::string(EntryName) +
                           "'; it is not a plug-in");
    start(entry, source.path);
}

void PluginHost::start(EntryFunction entry, const std::string& path) {
    effect = entry(hostCallback);
    if (!effect)
        throw CommandError("the plug-in " + path + " made no instance ('" + std::string(EntryName) +
                           "' returned null)");
    if (effect->magic != EffectMagic) {
        // Nothing in a record without the magic can be trusted, not even its
        // dispatcher, so the instance is left alone rather than closed.
        const std::int32_t magic = effect->magic;
        effect = nullptr;
        throw CommandError("the plug-in " + path + " returned a record with the wrong magic " +
                           hex32(magic) + " (expected " + hex32(EffectMagic) + ")");
    }
    if (!effect->dispatch) {
        effect = nullptr;
        throw CommandError("the plug-in " + path + " returned a record without a dispatcher");
    }
    effect->user = this;
    dispatch(OpOpen);
    dispatch(OpSetSampleRate, 0, 0, nullptr, announcedSampleRate);
    dispatch(OpSetBlockSize, 0, announcedBlockSize);
}

PluginHost::~PluginHost() {
    if (effect)
        effect->dispatch(effect, OpClose, 0, 0, nullptr, 0.0f);
}

IntPtr PluginHost::dispatch(std::int32_t opcode, std::int32_t index, IntPtr value, void* ptr,
                            float opt) {
    return effect->dispatch(effect, opcode, index, value, ptr, opt);
}

std::string PluginHost::dispatchText(std::int32_t opcode, std::int32_t index, IntPtr value) {
    std::vector<char> buffer(TextBufferSize, '\0');
    dispatch(opcode, index, value, buffer.data());
    buffer.back() = '\0';
    return std::string(buffer.data());
}

float PluginHost::parameterValue(std::int32_t index) {
    if (!effect->parameterValue)
        throw CommandError("the plug-in " + libraryPath + " cannot report parameter values");
    return effect->parameterValue(effect, index);
}

void PluginHost::setParameterValue(std::int32_t index, float value) {
    if (!effect->setParameterValue)
        throw CommandError("the plug-in " + libraryPath + " cannot set parameter values");
    effect->setParameterValue(effect, index, value);
}

void PluginHost::processAdding(float** inputs, float** outputs, std::int32_t frameCount) {
    if (!effect->processAdding)
        throw CommandError("the plug-in " + libraryPath + " has no adding process entry");
    effect->processAdding(effect, inputs, outputs, frameCount);
}

void PluginHost::processOverwriting(float** inputs, float** outputs, std::int32_t frameCount) {
    if (!effect->processOverwriting)
        throw CommandError("the plug-in " + libraryPath + " has no overwriting process entry");
    effect->processOverwriting(effect, inputs, outputs, frameCount);
}

PluginHost::EditorSize PluginHost::editorSize() {
    if ((effect->flags & HasEditor) == 0)
        throw CommandError("the plug-in " + libraryPath + " has no editor");
    EditorRect* rect = nullptr;
    if (dispatch(OpEditorRect, 0, 0, &rect) == 0 || !rect)
        throw CommandError("the plug-in " + libraryPath + " gives no editor rectangle");
    EditorSize size{rect->right - rect->left, rect->bottom - rect->top};
    if (size.width <= 0 || size.height <= 0)
        throw CommandError("the plug-in " + libraryPath + " gives an empty editor rectangle");
    return size;
}

void PluginHost::resume() {
    dispatch(OpSuspendResume, 0, 1);
}

void PluginHost::suspend() {
    dispatch(OpSuspendResume, 0, 0);
}

IntPtr VARNEX_CALL PluginHost::hostCallback(EffectRecord* record, std::int32_t opcode,
                                            std::int32_t index, IntPtr, void*, float opt) {
    if (opcode == HostVersion)
        return HostInterfaceVersion;
    // Before `main` has returned the record is not yet this host's.
    auto* host = record ? static_cast<PluginHost*>(record->user) : nullptr;
    HostListener* listener = host ? host->hostListener.load() : nullptr;
    if (!listener)
        return 0;
    if (opcode == HostAutomate)
        listener->parameterAutomated(index, opt);
    else if (opcode == HostIdle)
        listener->idleRequested();
    return 0;
}

std::string defaultPluginPath() {
#if defined(_WIN32)
    constexpr const char* PluginFileName = "Varnex.dll";
#else
    constexpr const char* PluginFileName = "Varnex.so";
#endif
    std::string self = executablePath();
    if (self.empty())
        throw CommandError("cannot tell where this program lives; give the plug-in's path");
    return (std::filesystem::path(self).parent_path() / PluginFileName).string();
}

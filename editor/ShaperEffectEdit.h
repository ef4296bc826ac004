#pragma once
// ShaperEffectEdit: the waveshaper with its editor attached, the object
// that the plug-in hands to the host. It reports its own unique id,
// forwards every parameter change to the editor, and hands the host its
// state as a chunk: the programs and the drawn curve (see ShaperState).

#include "effect/ShaperEffect.h"
#include "effect/ShaperState.h"

#include <array>
#include <cstdint>
#include <mutex>

class ShaperEditor;

class ShaperEffectEdit : public ShaperEffect {
  public:
    static constexpr std::int32_t UniqueId = fourCharCode('V', 'a', 'r', 'E');

    // When the editor cannot be allocated, the effect has none and the
    // process-wide outOfMemory flag is set; the entry then discards it.
    explicit ShaperEffectEdit(HostCallback callback);
    ~ShaperEffectEdit() override;

    // The effect's part first, then the editor's parameterChanged.
    void setParameterValue(std::int32_t index, float value) override;

    // The state as a chunk: the bank with the current program, or the
    // current program alone (isPreset), and the curve. The bytes belong to
    // the instance and stay valid until the next saveChunk or the end of
    // the instance. 0 without an editor.
    std::int32_t saveChunk(void** data, bool isPreset) override;
    // Takes a chunk of the kind asked for; 1, or 0 with nothing changed when
    // anything in it is not as saveChunk writes it (see ShaperState). The
    // new curve's table is in use at once; an open editor shows the values
    // and the curve from its next idle on.
    std::int32_t loadChunk(void* data, std::int32_t byteCount, bool isPreset) override;

    ShaperEditor* shaperEditor() const;

  private:
    // Keeps one chunk call from another (a host may call from two threads).
    std::mutex chunkMutex;
    std::array<std::uint8_t, shaperState::MaxBytes> savedChunk{};
};

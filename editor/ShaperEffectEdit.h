#pragma once
// ShaperEffectEdit: the waveshaper with its editor attached, the object
// that the plug-in hands to the host. It reports its own unique id and
// forwards every parameter change to the editor.

#include "effect/ShaperEffect.h"

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

    ShaperEditor* shaperEditor() const;
};

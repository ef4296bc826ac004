#include "host/Trampolines.h"

#include "host/EffectBase.h"

namespace {

EffectBase* effectOf(EffectRecord* record) {
    return static_cast<EffectBase*>(record->object);
}

} // namespace

IntPtr VARNEX_CALL dispatchTrampoline(EffectRecord* record, std::int32_t opcode, std::int32_t index,
                                      IntPtr value, void* ptr, float opt) {
    EffectBase* effect = effectOf(record);
    if (opcode == OpClose) {
        // Closing ends the instance: the record goes with the object.
        effect->dispatch(opcode, index, value, ptr, opt);
        delete effect;
        return 1;
    }
    return effect->dispatch(opcode, index, value, ptr, opt);
}

void VARNEX_CALL processAddingTrampoline(EffectRecord* record, float** inputs, float** outputs,
                                         std::int32_t frameCount) {
    effectOf(record)->processAdding(inputs, outputs, frameCount);
}

void VARNEX_CALL processOverwritingTrampoline(EffectRecord* record, float** inputs, float** outputs,
                                              std::int32_t frameCount) {
    effectOf(record)->processOverwriting(inputs, outputs, frameCount);
}

void VARNEX_CALL setParameterTrampoline(EffectRecord* record, std::int32_t index, float value) {
    effectOf(record)->setParameterValue(index, value);
}

float VARNEX_CALL parameterValueTrampoline(EffectRecord* record, std::int32_t index) {
    return effectOf(record)->parameterValue(index);
}

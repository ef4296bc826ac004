#pragma once
// The five functions stored in every record. Each finds the effect object
// through the record's `object` field and calls its virtual operation.

#include "host/EffectRecord.h"

IntPtr VARNEX_CALL dispatchTrampoline(EffectRecord* record, std::int32_t opcode, std::int32_t index,
                                      IntPtr value, void* ptr, float opt);
void VARNEX_CALL processAddingTrampoline(EffectRecord* record, float** inputs, float** outputs,
                                         std::int32_t frameCount);
void VARNEX_CALL processOverwritingTrampoline(EffectRecord* record, float** inputs, float** outputs,
                                              std::int32_t frameCount);
void VARNEX_CALL setParameterTrampoline(EffectRecord* record, std::int32_t index, float value);
float VARNEX_CALL parameterValueTrampoline(EffectRecord* record, std::int32_t index);

#include "editor/ShaperEffectEdit.h"

#include "editor/ShaperEditor.h"
#include "host/Entry.h"

#include <new>

ShaperEffectEdit::ShaperEffectEdit(HostCallback callback) : ShaperEffect(callback) {
    assignUniqueId(UniqueId);
    setChunkPrograms(true);
    // The editor's base attaches it to this effect (and sets HasEditor).
    if (!new (std::nothrow) ShaperEditor(this))
        outOfMemory.store(true, std::memory_order_relaxed);
    // The editor's initial straight line is in use from the start, sampled
    // as every later setting of parameter 0 samples it: a host restoring a
    // project hears no difference.
    rebuildTable();
}

ShaperEffectEdit::~ShaperEffectEdit() {
    // A host may end the instance while the editor is still open: close it
    // while the effect is whole, so that the window and its controls go
    // and the effect lets go of the curve before its parts are destroyed.
    if (ShaperEditor* open = shaperEditor())
        open->closeWindow();
    attachCurve(nullptr);
}

void ShaperEffectEdit::setParameterValue(std::int32_t index, float value) {
    ShaperEffect::setParameterValue(index, value);
    if (ShaperEditor* attached = shaperEditor())
        attached->parameterChanged(index, value);
}

std::int32_t ShaperEffectEdit::saveChunk(void** data, bool isPreset) {
    ShaperEditor* attached = shaperEditor();
    if (data == nullptr || attached == nullptr)
        return 0;
    std::lock_guard<std::mutex> lock(chunkMutex);
    ShaperState state;
    state.bank = !isPreset;
    savePrograms(state);
    state.pointCount = attached->copyCurve(state.points.data());
    const std::size_t size = shaperState::write(state, savedChunk.data());
    *data = savedChunk.data();
    return static_cast<std::int32_t>(size);
}

std::int32_t ShaperEffectEdit::loadChunk(void* data, std::int32_t byteCount, bool isPreset) {
    ShaperEditor* attached = shaperEditor();
    if (attached == nullptr)
        return 0;
    const PlotArea& area = attached->curveArea();
    ShaperState state;
    if (!shaperState::read(data, byteCount, !isPreset, {area.minX, area.minY, area.maxX, area.maxY},
                           state)) {
        return 0;
    }
    std::lock_guard<std::mutex> lock(chunkMutex);
    loadPrograms(state);
    attached->loadCurve(state.points.data(), state.pointCount);
    return 1;
}

ShaperEditor* ShaperEffectEdit::shaperEditor() const {
    // The only editor this effect ever attaches is its ShaperEditor.
    return static_cast<ShaperEditor*>(static_cast<GuiEditor*>(attachedEditor()));
}

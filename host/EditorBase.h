#pragma once
// EditorBase: the smallest editor the host can drive through the dispatcher.
// It knows its effect, remembers the window the host gives it and runs a
// deferred update from its idle. Bitmap editors build on it.

#include <atomic>
#include <cstdint>

class EffectBase;

// The editor rectangle handed to the host: top, left, bottom, right.
struct EditorRect {
    std::int16_t top;
    std::int16_t left;
    std::int16_t bottom;
    std::int16_t right;
};

class EditorBase {
  public:
    explicit EditorBase(EffectBase* owner) : effect(owner) {}
    EditorBase(const EditorBase&) = delete;
    EditorBase& operator=(const EditorBase&) = delete;

    virtual ~EditorBase() = default;
    // Writes the address of the editor's rectangle (none here) to `out`.
    virtual std::int32_t editorRect(EditorRect** out);
    virtual std::int32_t openWindow(void* parent);
    virtual void closeWindow() {}
    virtual void onIdle();
    virtual void performUpdate() {}
    virtual void scheduleUpdate() { updatePending.store(1, std::memory_order_relaxed); }

    bool isUpdatePending() const { return updatePending.load(std::memory_order_relaxed) != 0; }

  protected:
    EffectBase* effect;
    void* parentWindow = nullptr;
    // Raised from any thread that changes a parameter, cleared by the idle.
    std::atomic<std::int32_t> updatePending{0};
};

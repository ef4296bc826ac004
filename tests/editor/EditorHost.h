#pragma once
// A host for end-to-end tests of the editor: it makes a plug-in instance
// through the entry, drives it only through the record and its dispatcher,
// gives the editor a headless window, and plays the user with the scripted
// pointer. It records what the plug-in asks of it.

#include "ResourcePixels.h"
#include "gui/Geometry.h"
#include "host/EffectRecord.h"
#include "platform/Headless.h"
#include "platform/Types.h"

#include <cstdint>
#include <vector>

class ShaperEffectEdit;

struct Automation {
    std::int32_t index;
    float value;
};

class EditorHost {
  public:
    EditorHost();
    ~EditorHost();
    EditorHost(const EditorHost&) = delete;
    EditorHost& operator=(const EditorHost&) = delete;

    IntPtr dispatch(std::int32_t opcode, std::int32_t index = 0, IntPtr value = 0,
                    void* ptr = nullptr, float opt = 0.0f);
    void setParameter(std::int32_t index, float value);
    float parameter(std::int32_t index);

    // Opcodes 14 (with the host window), 15 and 19; paint() hands the
    // editor's window a paint message, as a window system would on opening.
    void openEditor();
    void closeEditor();
    void idle();
    void paint();
    platform::Window* editorWindow() const;

    // A left press at (x, y) of the editor's window, then the pointer goes
    // through `path` with `buttons` held, and is released.
    void drag(Point from, const std::vector<Point>& path,
              std::uint32_t buttons = platform::headless::PointerLeft);
    void click(Point at, std::uint32_t buttons = platform::headless::PointerLeft);

    platform::ColorWord pixel(Point at) const;
    std::vector<platform::ColorWord> pixels(const Rect& area) const;

    // For inspection only; the tests drive the plug-in through the record.
    ShaperEffectEdit& effect() const;

    EffectRecord* record = nullptr;
    platform::Window* hostWindow = nullptr;
    std::vector<Automation> automations;
    int idleRequests = 0;

  private:
    static IntPtr VARNEX_CALL callback(EffectRecord* record, std::int32_t opcode,
                                       std::int32_t index, IntPtr value, void* ptr, float opt);
    platform::headless::PointerState screenState(Point at, std::uint32_t buttons) const;
};

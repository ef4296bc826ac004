// The edit window: an X child window like the others, whose procedure
// feeds the line editor what the window receives and draws the editor
// into the window's picture.

#include "platform/Drawing.h"
#include "platform/TextEditing.h"
#include "platform/raster/Objects.h"
#include "platform/widgets/LineEditor.h"
#include "platform/x11/Backend.h"

#include <strings.h>

namespace platform::x11 {

struct EditState {
    EditState(const char* text, std::uint32_t style, std::int32_t width, std::int32_t height)
        : editor(text, style, width, height) {}
    widgets::LineEditor editor;
};

bool isEditClass(const char* className) {
    return strcasecmp(className, EditClassName) == 0;
}

bool makeEditState(WindowRecord& record, const char* title, std::uint32_t style) {
    record.edit =
        std::make_shared<EditState>(title, style, record.backing->width, record.backing->height);
    return true;
}

void editResized(WindowRecord& record) {
    if (record.edit)
        record.edit->editor.resize(record.backing->width, record.backing->height);
}

const std::string* editText(WindowRecord* record) {
    return record && record->edit ? &record->edit->editor.text() : nullptr;
}

void drawEdit(WindowRecord& record) {
    platform::Window* window = handleOf(record.id);
    DeviceContext* context = windowContext(window);
    record.edit->editor.draw(context);
    releaseWindowContext(window, context);
}

MessageResult editProcedure(platform::Window* window, std::uint32_t message, WordParam wParam,
                            LongParam lParam) {
    // A replacement procedure may call on after destroying the window.
    WindowRecord* record = recordOf(window);
    if (!record || record->gone || !record->edit)
        return defaultWindowProcedure(window, message, wParam, lParam);
    widgets::LineEditor& editor = record->edit->editor;
    bool changed = false;
    switch (message) {
    case MessagePaint: {
        DeviceContext* context = beginPaint(window);
        editor.draw(context);
        endPaint(window, context);
        return 0;
    }
    case MessageLeftButtonDown:
        setFocus(window);
        if (!recordOf(window))
            return 0; // the window losing the focus ended this one
        editor.click(positionX(lParam), positionY(lParam));
        changed = true;
        break;
    default:
        switch (editor.apply(message, wParam, lParam)) {
        case widgets::LineEditor::Applied::NotAMessageOfMine:
            return defaultWindowProcedure(window, message, wParam, lParam);
        case widgets::LineEditor::Applied::Changed:
            changed = true;
            break;
        case widgets::LineEditor::Applied::Unchanged:
            break;
        }
    }
    // Every change shows at once, outside any paint.
    if (changed)
        drawEdit(*record);
    return 0;
}

} // namespace platform::x11

#include "gui/TextField.h"

#include "gui/Frame.h"
#include "gui/ToolkitModule.h"
#include "platform/Drawing.h"
#include "platform/TextEditing.h"
#include "platform/Windowing.h"

#include <cstdio>
#include <cstring>

namespace {

// The edit window's own procedure, which the field's procedure hands every
// message on to. Edit windows all share one, and one field edits at a time.
platform::WindowProcedure editWindowProcedure = nullptr;

void copyText(char* to, const char* from) {
    std::snprintf(to, TextField::textCapacity, "%s", from ? from : "");
}

} // namespace

TextField::TextField(const Rect& size, ControlListener* listener, std::int32_t tag,
                     const char* initialText, Bitmap* background, std::int32_t style)
    : ValueDisplay(size, listener, tag, background, style) {
    copyText(content, initialText);
}

TextField::~TextField() {
    closeEditWindow();
}

void TextField::draw(DrawContext& context) {
    char shown[textCapacity] = "";
    if (textConverter)
        textConverter(content, shown);
    else
        copyText(shown, content);
    drawTextBox(context, shown, backgroundPicture);
}

void TextField::mouseDown(DrawContext& context, Point) {
    if (!isMouseActive || !ownerFrame || ownerFrame->keyboardView() == this)
        return;
    if (context.queryMouseButtons() != MouseLeft)
        return;
    ownerFrame->setKeyboardView(this);
    acquireFocus();
}

void TextField::acquireFocus() {
    if (!ownerFrame || editor)
        return;
    using namespace platform;
    editor = createWindow(EditClassName, content,
                          StyleChild | StyleVisible | EditStyleAutoScroll | EditStyleCentre,
                          size.left, size.top, size.width() + 1, size.height() + 1,
                          ownerFrame->window(), toolkitModule());
    if (!editor)
        return;
    // The field's font row, but always regular weight in a proportional
    // sans-serif face: the edit window shows what the user types.
    FontDescription description = describeFont(font, 0);
    description.weight = 400;
    description.pitchAndFamily = 0x22;
    editFont = createFont(description);
    sendMessage(editor, MessageSetFont, reinterpret_cast<WordParam>(editFont), 1);
    sendMessage(editor, MessageEditSetMargins, EditLeftMargin | EditRightMargin, 0);
    setFocus(editor);
    setWindowUserData(editor, reinterpret_cast<LongParam>(this));
    editWindowProcedure = setWindowProcedure(editor, &TextField::editProcedure);
}

platform::MessageResult TextField::editProcedure(platform::Window* window, std::uint32_t message,
                                                 platform::WordParam wParam,
                                                 platform::LongParam lParam) {
    using namespace platform;
    const bool ends = message == MessageKillFocus ||
                      (message == MessageKeyDown && wParam == static_cast<WordParam>(KeyReturn));
    const WindowProcedure original = editWindowProcedure;
    if (ends) {
        if (auto* field = reinterpret_cast<TextField*>(windowUserData(window))) {
            Frame* frame = field->ownerFrame;
            field->releaseFocus();
            if (frame)
                frame->setKeyboardView(nullptr);
        }
    }
    // Ending the edit destroyed the window: nothing is left to hand on to.
    if (!isWindow(window))
        return 0;
    if (!original)
        return defaultWindowProcedure(window, message, wParam, lParam);
    return callWindowProcedure(original, window, message, wParam, lParam);
}

void TextField::releaseFocus() {
    if (!editor)
        return;
    char before[textCapacity];
    copyText(before, content);
    platform::windowText(editor, content, textCapacity - 1);
    closeEditWindow();
    if (!ownerFrame)
        return;
    if (ownerFrame->keyboardView() == this)
        ownerFrame->setKeyboardView(nullptr);
    platform::Window* window = ownerFrame->window();
    platform::DeviceContext* deviceContext = platform::windowContext(window);
    {
        DrawContext context(ownerFrame, deviceContext, window);
        if (std::strcmp(before, content) != 0 && controlListener)
            controlListener->controlChanged(context, this);
        draw(context);
    }
    platform::releaseWindowContext(window, deviceContext);
}

void TextField::closeEditWindow() {
    // Cleared first: destroying the focused window sends it a last kill
    // focus, which must find the field no longer editing.
    platform::Window* window = editor;
    editor = nullptr;
    if (window) {
        platform::setWindowUserData(window, 0);
        platform::destroyWindow(window);
    }
    if (editFont) {
        platform::deleteFont(editFont);
        editFont = nullptr;
    }
}

void TextField::setText(const char* newText) {
    copyText(content, newText);
    forceRedraw();
}

void TextField::text(char* out) const {
    copyText(out, content);
}

void TextField::setTextConverter(TextConverter newConverter) {
    textConverter = newConverter;
}

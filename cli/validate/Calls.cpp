#include "cli/validate/Calls.h"

#include "host/EffectBase.h"

#include <cstdio>

namespace {

const char* editorCallName(const Call& call) {
    switch (call.opcode) {
    case OpEditorRect:
        return "editor rectangle";
    case OpEditorOpen:
        return call.value ? "open the editor in a host window" : "open the editor with no parent";
    case OpEditorIdle:
        return "editor idle";
    case OpEditorClose:
        return "close the editor";
    }
    return "editor call";
}

const char* inputName(Input input) {
    switch (input) {
    case Input::Silence:
        return "silence";
    case Input::Noise:
        return "noise";
    case Input::NotANumber:
        return "NaN";
    case Input::Infinity:
        return "infinity";
    case Input::Huge:
        return "1e30";
    }
    return "?";
}

} // namespace

std::string describeCall(const Call& call) {
    char text[200];
    switch (call.kind) {
    case CallKind::Dispatch:
        std::snprintf(text, sizeof text, "dispatch(opcode %d, index %d, value %lld, opt %g)",
                      call.opcode, call.index, static_cast<long long>(call.value),
                      static_cast<double>(call.opt));
        break;
    case CallKind::SetParameter:
        std::snprintf(text, sizeof text, "setParameter(%d, %g)", call.index,
                      static_cast<double>(call.opt));
        break;
    case CallKind::GetParameter:
        std::snprintf(text, sizeof text, "getParameter(%d)", call.index);
        break;
    case CallKind::Process:
        std::snprintf(text, sizeof text, "%s(%d frames of %s%s%s)",
                      call.adding ? "processAdding" : "processOverwriting", call.frames,
                      inputName(call.input),
                      call.input == Input::Noise ? (" #" + std::to_string(call.value)).c_str() : "",
                      call.inPlace ? ", in place" : "");
        break;
    case CallKind::SelectProgram:
        std::snprintf(text, sizeof text,
                      "dispatch(opcode 2, value %d) and read back its name "
                      "and values",
                      call.index);
        break;
    case CallKind::Editor:
        std::snprintf(text, sizeof text, "%s (opcode %d)", editorCallName(call), call.opcode);
        break;
    case CallKind::DamagedChunk: {
        const char* kind = call.index ? "program" : "bank";
        if (call.damage == Damage::Truncate)
            std::snprintf(text, sizeof text, "load the %s chunk cut to %lld bytes", kind,
                          static_cast<long long>(call.value));
        else if (call.damage == Damage::FlipByte)
            std::snprintf(text, sizeof text,
                          "load the %s chunk with byte %lld (modulo its length) xor 0x%02X", kind,
                          static_cast<long long>(call.value), call.mask);
        else
            std::snprintf(text, sizeof text, "load the %s chunk padded with zeros to %lld bytes",
                          kind, static_cast<long long>(call.value));
        break;
    }
    }
    return text;
}

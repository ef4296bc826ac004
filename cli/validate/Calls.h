#pragma once
// The calls a validation makes on an instance, as data: a random sequence
// can then be replayed on a fresh instance in a fresh process, cut down to
// the few calls that still break the plug-in, and printed.

#include "host/EffectRecord.h"

#include <cstdint>
#include <string>
#include <vector>

enum class CallKind : std::uint8_t {
    Dispatch,      // opcode, index, value, opt; the pointer is chosen to suit the opcode
    SetParameter,  // index, opt
    GetParameter,  // index
    Process,       // adding or overwriting, frames, input, inPlace; value seeds the noise
    SelectProgram, // index; the program's name and values must be those it first showed
    DamagedChunk,  // index != 0: program chunk; damage, value, mask
    Editor,        // opcode: the editor's rectangle, open, idle or close; for
                   // open, value != 0: in a host window, else with no parent
};

enum class Input : std::uint8_t { Silence, Noise, NotANumber, Infinity, Huge };
enum class Damage : std::uint8_t { Truncate, FlipByte, HugeSize };

struct Call {
    CallKind kind = CallKind::Dispatch;
    std::int32_t opcode = 0;
    std::int32_t index = 0;
    IntPtr value = 0;
    float opt = 0.0f;
    std::int32_t frames = 0;
    bool adding = false;
    bool inPlace = false;
    Input input = Input::Noise;
    Damage damage = Damage::Truncate;
    std::uint8_t mask = 0;

    static Call dispatch(std::int32_t opcode, std::int32_t index = 0, IntPtr value = 0,
                         float opt = 0.0f) {
        Call call;
        call.opcode = opcode;
        call.index = index;
        call.value = value;
        call.opt = opt;
        return call;
    }
    static Call editor(std::int32_t opcode, bool inWindow = false) {
        Call call;
        call.kind = CallKind::Editor;
        call.opcode = opcode;
        call.value = inWindow ? 1 : 0;
        return call;
    }
    static Call setParameter(std::int32_t index, float value) {
        Call call;
        call.kind = CallKind::SetParameter;
        call.index = index;
        call.opt = value;
        return call;
    }
    static Call process(bool adding, std::int32_t frames, Input input, IntPtr noiseSeed = 1,
                        bool inPlace = false) {
        Call call;
        call.kind = CallKind::Process;
        call.adding = adding;
        call.frames = frames;
        call.input = input;
        call.value = noiseSeed;
        call.inPlace = inPlace;
        return call;
    }
};

using CallList = std::vector<Call>;

// One line a reader can follow: "processAdding(512 frames of noise #7)".
std::string describeCall(const Call& call);

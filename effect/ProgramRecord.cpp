#include "effect/ProgramRecord.h"

#include <cstring>

ProgramRecord::ProgramRecord() : name{} {
    std::strcpy(name, "Init");
}

std::atomic<float>* ProgramRecord::parameter(std::int32_t index) {
    switch (index) {
    case 1:
        return &preGain;
    case 2:
        return &preFilter;
    case 3:
        return &postGain;
    case 4:
        return &postFilter;
    case 5:
        return &preSwitch;
    case 6:
        return &postSwitch;
    case 7:
        return &dryWet;
    default:
        return nullptr;
    }
}

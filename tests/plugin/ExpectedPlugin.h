#pragma once
// What the built plug-in's `main` hands to a host. The identity fields are
// those of the most derived effect class that `main` builds; when that
// class changes, this is the one place to update.

#include "host/EffectRecord.h"

#include <cstdint>

namespace expected {

// The waveshaper with its editor.
constexpr std::int32_t InputCount = 2;
constexpr std::int32_t OutputCount = 2;
constexpr std::int32_t Flags = HasEditor | CanMono | CanOverwrite | ChunkPrograms; // 0x39
constexpr std::int32_t UniqueId = fourCharCode('V', 'a', 'r', 'E');
constexpr const char* UniqueIdText = "VarE";

constexpr std::int32_t Magic = 0x56737450;
constexpr std::int32_t ProgramCount = 16;
constexpr std::int32_t ParameterCount = 8;
constexpr std::int32_t Version = 1;
constexpr std::int32_t InterfaceVersion = 2;

} // namespace expected

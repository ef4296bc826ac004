#pragma once
// Preset files of the plug-in interface's usual kinds, for any plug-in: one
// program or a whole bank, as parameter values or as the plug-in's own
// chunk. Every number is a big-endian 32-bit word:
//
//   'CcnK', the byte count of the rest of the file, the kind:
//     'FxCk' one program as values     'FPCh' one program as a chunk
//     'FxBk' a bank as values          'FBCh' a bank as a chunk
//   the format version (1; 2 for a bank that stores its current program),
//   the plug-in's unique id, the plug-in's version, and then
//   FxCk: parameter count, 28-byte program name, one float per parameter
//   FPCh: parameter count, 28-byte program name, chunk size, the chunk
//   FxBk: program count, [2: current program], reserved bytes up to byte
//         156, then one complete FxCk file per program
//   FBCh: program count, [2: current program], reserved bytes up to byte
//         156, chunk size, the chunk
//
// A file is read whole and checked to the last byte before anyone uses it.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

enum class PresetKind { ProgramValues, ProgramChunk, BankValues, BankChunk };

// Program names take this many bytes in a file, cut at the first zero.
constexpr std::size_t PresetNameSize = 28;
// The largest chunk whose file can still state its size in its header.
constexpr std::size_t MaxPresetChunkSize = 0x7FFFFFFF - 160;

struct PresetProgram {
    std::string name;          // at most PresetNameSize bytes, no zero
    std::vector<float> values; // values kinds: one per parameter, in [0, 1]
};

struct Preset {
    PresetKind kind = PresetKind::ProgramValues;
    std::int32_t formatVersion = 1;
    std::int32_t pluginId = 0;
    std::int32_t pluginVersion = 0;
    // Program kinds: the parameter count (for FxCk the number of values).
    std::int32_t parameterCount = 0;
    // Bank kinds: the program count (for FxBk the number of programs).
    std::int32_t programCount = 0;
    // Banks of format version 2; -1 otherwise.
    std::int32_t currentProgram = -1;
    // Program kinds: one program (FPCh: a name without values); FxBk: the
    // bank's programs; FBCh: none.
    std::vector<PresetProgram> programs;
    std::vector<std::uint8_t> chunk; // chunk kinds
    // Where the preset was read from, for messages; empty when made here.
    std::string source;
};

bool isChunkKind(PresetKind kind);
bool isBankKind(PresetKind kind);

// The file's bytes; a CommandError "LABEL: what is wrong" for anything that
// is not a complete, well-formed preset: truncated or oversized files,
// counts that disagree with the sizes, values that are not numbers in
// [0, 1], an empty chunk.
Preset decodePreset(const std::vector<std::uint8_t>& bytes, const std::string& label);
std::vector<std::uint8_t> encodePreset(const Preset& preset);

// decodePreset of the whole file at `path`; a CommandError when it cannot
// be read.
Preset readPresetFile(const std::string& path);
// Writes the file under a temporary name and renames it when complete.
void writePresetFile(const std::string& path, const Preset& preset);

// "one program as values (8 parameters)", "a bank as a chunk (16 programs,
// 1234 bytes)": what a message says about the preset.
std::string describePreset(const Preset& preset);

#pragma once
// ShaperState: what a host keeps of an instance in a project or a preset
// (the programs and the drawn curve), and the bytes it is kept as: the
// chunk of the "get chunk" and "set chunk" opcodes.
//
// The chunk, little-endian throughout; offsets in bytes:
//    0  tag "VnxS"
//    4  format version (1)
//    8  byte count of the whole chunk
//   12  header size: where the first program starts (40)
//   16  kind: 1 the whole bank, 0 one program
//   20  program count (16 for the bank, 1 for one program)
//   24  program size (52): a 24-byte zero-terminated name, then the values
//       of parameters 1 to 7 as 32-bit floats
//   28  current program (0 to 15; 0 in a program chunk, where it is not
//       read)
//   32  point count (2 to 50)
//   36  point size (8): x and y as 32-bit floats, in the curve editor's
//       pixels
//   then the programs, then the points.
// A later version may add fields at the end of the header, of each program,
// of each point and of the chunk; it raises the version and the sizes, and
// this reader takes what it knows. A version 1 chunk has exactly these
// sizes.

#include "effect/CurveSource.h"

#include <array>
#include <cstddef>
#include <cstdint>

// The area every point of a curve lies in (edges included); the first
// point sits on its left edge and the last on its right edge.
struct CurveBounds {
    float minX, minY, maxX, maxY;
};

struct ShaperState {
    static constexpr std::int32_t ProgramCount = 16;
    static constexpr std::int32_t ValueCount = 7; // parameters 1 to 7
    static constexpr std::int32_t NameSize = 24;
    static constexpr std::int32_t MinPoints = 2;
    static constexpr std::int32_t MaxPoints = 50;

    struct Program {
        std::array<char, NameSize> name{};
        std::array<float, ValueCount> values{};
    };

    bool bank = true;
    std::int32_t currentProgram = 0;
    // The bank's programs, or the one program in programs[0].
    std::array<Program, ProgramCount> programs{};
    std::int32_t pointCount = 0;
    std::array<CurvePoint, MaxPoints> points{};

    std::int32_t programsHeld() const { return bank ? ProgramCount : 1; }
};

namespace shaperState {

constexpr std::uint32_t Version = 1;
constexpr std::size_t HeaderSize = 40;
constexpr std::size_t ProgramSize = ShaperState::NameSize + 4 * ShaperState::ValueCount;
constexpr std::size_t PointSize = 8;
// The longest chunk this version writes: a bank with 50 points.
constexpr std::size_t MaxBytes =
    HeaderSize + ShaperState::ProgramCount * ProgramSize + ShaperState::MaxPoints * PointSize;

// Writes `state` (a valid one) into `out`, which holds MaxBytes; returns
// the byte count.
std::size_t write(const ShaperState& state, std::uint8_t* out);

// Reads a chunk of the kind asked for (bank or one program) into `out`,
// checking everything: the tag, the version, every size against the byte
// count, the counts, the names' terminators, the values (finite, 0 to 1),
// the points (finite, inside `bounds`, x rising from the left edge to the
// right edge). False for anything else; `out` is then not to be used.
bool read(const void* data, std::int64_t byteCount, bool bank, const CurveBounds& bounds,
          ShaperState& out);

} // namespace shaperState

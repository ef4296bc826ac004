#include "effect/ShaperState.h"

#include <bit>
#include <cmath>
#include <cstring>

namespace shaperState {
namespace {

constexpr std::array<std::uint8_t, 4> Tag = {'V', 'n', 'x', 'S'};

// Header fields, by offset.
enum : std::size_t {
    TagAt = 0,
    VersionAt = 4,
    ByteCountAt = 8,
    HeaderSizeAt = 12,
    KindAt = 16,
    ProgramCountAt = 20,
    ProgramSizeAt = 24,
    CurrentProgramAt = 28,
    PointCountAt = 32,
    PointSizeAt = 36,
};

void put32(std::uint8_t* out, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        out[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
}

void putFloat(std::uint8_t* out, std::size_t at, float value) {
    put32(out, at, std::bit_cast<std::uint32_t>(value));
}

std::uint32_t get32(const std::uint8_t* in, std::size_t at) {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i)
        value |= static_cast<std::uint32_t>(in[at + static_cast<std::size_t>(i)]) << (8 * i);
    return value;
}

float getFloat(const std::uint8_t* in, std::size_t at) {
    return std::bit_cast<float>(get32(in, at));
}

bool isUnitValue(float value) {
    return value >= 0.0f && value <= 1.0f; // false for NaN too
}

bool inside(const CurveBounds& bounds, const CurvePoint& p) {
    return std::isfinite(p.x) && std::isfinite(p.y) && p.x >= bounds.minX && p.x <= bounds.maxX &&
           p.y >= bounds.minY && p.y <= bounds.maxY;
}

} // namespace

std::size_t write(const ShaperState& state, std::uint8_t* out) {
    const std::int32_t programs = state.programsHeld();
    const std::size_t size = HeaderSize + static_cast<std::size_t>(programs) * ProgramSize +
                             static_cast<std::size_t>(state.pointCount) * PointSize;
    std::memcpy(out + TagAt, Tag.data(), Tag.size());
    put32(out, VersionAt, Version);
    put32(out, ByteCountAt, static_cast<std::uint32_t>(size));
    put32(out, HeaderSizeAt, HeaderSize);
    put32(out, KindAt, state.bank ? 1 : 0);
    put32(out, ProgramCountAt, static_cast<std::uint32_t>(programs));
    put32(out, ProgramSizeAt, ProgramSize);
    put32(out, CurrentProgramAt, static_cast<std::uint32_t>(state.currentProgram));
    put32(out, PointCountAt, static_cast<std::uint32_t>(state.pointCount));
    put32(out, PointSizeAt, PointSize);

    std::size_t at = HeaderSize;
    for (std::int32_t p = 0; p < programs; ++p) {
        const ShaperState::Program& program = state.programs[static_cast<std::size_t>(p)];
        std::memcpy(out + at, program.name.data(), ShaperState::NameSize);
        // Whatever followed the terminator stays out of the chunk.
        std::size_t length = 0;
        while (length + 1 < ShaperState::NameSize && program.name[length] != '\0')
            ++length;
        std::memset(out + at + length, 0, ShaperState::NameSize - length);
        at += ShaperState::NameSize;
        for (const float value : program.values) {
            putFloat(out, at, value);
            at += 4;
        }
    }
    for (std::int32_t i = 0; i < state.pointCount; ++i) {
        putFloat(out, at, state.points[static_cast<std::size_t>(i)].x);
        putFloat(out, at + 4, state.points[static_cast<std::size_t>(i)].y);
        at += PointSize;
    }
    return at;
}

bool read(const void* data, std::int64_t byteCount, bool bank, const CurveBounds& bounds,
          ShaperState& out) {
    if (data == nullptr || byteCount < static_cast<std::int64_t>(HeaderSize))
        return false;
    const auto* in = static_cast<const std::uint8_t*>(data);
    if (std::memcmp(in + TagAt, Tag.data(), Tag.size()) != 0)
        return false;
    const std::uint32_t version = get32(in, VersionAt);
    const std::uint64_t declaredBytes = get32(in, ByteCountAt);
    const std::uint64_t headerSize = get32(in, HeaderSizeAt);
    const std::uint32_t kind = get32(in, KindAt);
    const std::uint64_t programCount = get32(in, ProgramCountAt);
    const std::uint64_t programSize = get32(in, ProgramSizeAt);
    const std::uint32_t currentProgram = get32(in, CurrentProgramAt);
    const std::uint64_t pointCount = get32(in, PointCountAt);
    const std::uint64_t pointSize = get32(in, PointSizeAt);

    if (version < 1 || declaredBytes != static_cast<std::uint64_t>(byteCount))
        return false;
    if (kind != (bank ? 1u : 0u) || programCount != (bank ? ShaperState::ProgramCount : 1u))
        return false;
    if (currentProgram >= static_cast<std::uint32_t>(ShaperState::ProgramCount))
        return false;
    if (pointCount < ShaperState::MinPoints || pointCount > ShaperState::MaxPoints)
        return false;
    // Version 1 has exactly its own sizes; later ones may only grow them.
    const bool exact = version == 1;
    const auto sizeFits = [exact](std::uint64_t size, std::uint64_t known) {
        return exact ? size == known : size >= known;
    };
    if (!sizeFits(headerSize, HeaderSize) || !sizeFits(programSize, ProgramSize) ||
        !sizeFits(pointSize, PointSize)) {
        return false;
    }
    // All sizes are below 2^32, so these sums cannot overflow.
    const std::uint64_t pointsAt = headerSize + programCount * programSize;
    const std::uint64_t end = pointsAt + pointCount * pointSize;
    if (!sizeFits(declaredBytes, end))
        return false;

    out.bank = bank;
    out.currentProgram = static_cast<std::int32_t>(currentProgram);
    for (std::uint64_t p = 0; p < programCount; ++p) {
        const std::uint8_t* record = in + headerSize + p * programSize;
        ShaperState::Program& program = out.programs[static_cast<std::size_t>(p)];
        if (std::memchr(record, 0, ShaperState::NameSize) == nullptr)
            return false;
        std::memcpy(program.name.data(), record, ShaperState::NameSize);
        for (std::size_t v = 0; v < program.values.size(); ++v) {
            program.values[v] = getFloat(record, ShaperState::NameSize + 4 * v);
            if (!isUnitValue(program.values[v]))
                return false;
        }
    }

    out.pointCount = static_cast<std::int32_t>(pointCount);
    for (std::uint64_t i = 0; i < pointCount; ++i) {
        const std::uint8_t* point = in + pointsAt + i * pointSize;
        CurvePoint& p = out.points[static_cast<std::size_t>(i)];
        p = {getFloat(point, 0), getFloat(point, 4)};
        if (!inside(bounds, p) || (i > 0 && p.x < out.points[static_cast<std::size_t>(i - 1)].x))
            return false;
    }
    const CurvePoint& first = out.points[0];
    const CurvePoint& last = out.points[static_cast<std::size_t>(pointCount - 1)];
    return first.x == bounds.minX && last.x == bounds.maxX;
}

} // namespace shaperState

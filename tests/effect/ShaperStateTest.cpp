// The chunk format: what it reads back, what it refuses, and a later
// version's chunk with fields it does not know.

#include "effect/ShaperState.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr CurveBounds Bounds{11.0f, 11.0f, 255.0f, 255.0f};

ShaperState sampleState(bool bank) {
    ShaperState state;
    state.bank = bank;
    state.currentProgram = bank ? 9 : 3;
    for (std::int32_t p = 0; p < state.programsHeld(); ++p) {
        auto& program = state.programs[static_cast<std::size_t>(p)];
        const std::string name = "Program " + std::to_string(p);
        std::memcpy(program.name.data(), name.c_str(), name.size() + 1);
        for (std::size_t v = 0; v < program.values.size(); ++v)
            program.values[v] = static_cast<float>(p * 7 + static_cast<int>(v)) / 200.0f;
    }
    state.pointCount = 4;
    state.points[0] = {11.0f, 255.0f};
    state.points[1] = {80.5f, 100.25f};
    state.points[2] = {80.5f, 11.0f}; // an equal x, as a press can make
    state.points[3] = {255.0f, 40.0f};
    return state;
}

std::vector<std::uint8_t> chunkOf(const ShaperState& state) {
    std::vector<std::uint8_t> bytes(shaperState::MaxBytes);
    bytes.resize(shaperState::write(state, bytes.data()));
    return bytes;
}

void put32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
}

void putFloat(std::vector<std::uint8_t>& bytes, std::size_t at, float value) {
    put32(bytes, at, std::bit_cast<std::uint32_t>(value));
}

void expectSameState(const ShaperState& a, const ShaperState& b) {
    EXPECT_EQ(a.bank, b.bank);
    EXPECT_EQ(a.currentProgram, b.currentProgram);
    for (std::int32_t p = 0; p < a.programsHeld(); ++p) {
        const auto& x = a.programs[static_cast<std::size_t>(p)];
        const auto& y = b.programs[static_cast<std::size_t>(p)];
        EXPECT_STREQ(x.name.data(), y.name.data()) << p;
        EXPECT_EQ(x.values, y.values) << p;
    }
    ASSERT_EQ(a.pointCount, b.pointCount);
    for (std::int32_t i = 0; i < a.pointCount; ++i) {
        EXPECT_EQ(a.points[static_cast<std::size_t>(i)].x, b.points[static_cast<std::size_t>(i)].x);
        EXPECT_EQ(a.points[static_cast<std::size_t>(i)].y, b.points[static_cast<std::size_t>(i)].y);
    }
}

TEST(ShaperStateFormat, ABankAndAProgramReadBackAsWritten) {
    for (const bool bank : {true, false}) {
        const ShaperState state = sampleState(bank);
        const std::vector<std::uint8_t> bytes = chunkOf(state);
        EXPECT_EQ(bytes.size(), 40u + (bank ? 16u : 1u) * 52u + 4u * 8u);
        EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "VnxS");
        EXPECT_EQ(bytes[4], 1) << "version 1, little-endian";
        ShaperState read;
        ASSERT_TRUE(shaperState::read(bytes.data(), static_cast<std::int64_t>(bytes.size()), bank,
                                      Bounds, read));
        expectSameState(read, state);
        ShaperState wrongKind;
        EXPECT_FALSE(shaperState::read(bytes.data(), static_cast<std::int64_t>(bytes.size()), !bank,
                                       Bounds, wrongKind));
    }
}

// Each case spoils one thing of a valid bank chunk.
TEST(ShaperStateFormat, RefusesEveryKindOfBadChunk) {
    constexpr std::size_t Programs = 40;
    constexpr std::size_t Points = 40 + 16 * 52;
    constexpr std::size_t SecondValue = Programs + 52 * 5 + 24 + 4;
    const std::vector<std::pair<const char*, std::function<void(std::vector<std::uint8_t>&)>>>
        cases = {
            {"tag", [](auto& b) { b[3] = 's'; }},
            {"version 0", [](auto& b) { put32(b, 4, 0); }},
            {"byte count one more",
             [](auto& b) { put32(b, 8, static_cast<std::uint32_t>(b.size() + 1)); }},
            {"version 1 with a larger header", [](auto& b) { put32(b, 12, 44); }},
            {"program count 15", [](auto& b) { put32(b, 20, 15); }},
            {"program size 51", [](auto& b) { put32(b, 24, 51); }},
            {"current program 16", [](auto& b) { put32(b, 28, 16); }},
            {"current program -1", [](auto& b) { put32(b, 28, 0xFFFFFFFFu); }},
            {"1 point", [](auto& b) { put32(b, 32, 1); }},
            {"51 points", [](auto& b) { put32(b, 32, 51); }},
            {"a huge point count", [](auto& b) { put32(b, 32, 0xFFFFFFFFu); }},
            {"point size 0", [](auto& b) { put32(b, 36, 0); }},
            {"a name without terminator", [](auto& b) { std::memset(&b[Programs + 52], 'x', 24); }},
            {"a NaN value", [](auto& b) { putFloat(b, SecondValue, NAN); }},
            {"an infinite value", [](auto& b) { putFloat(b, SecondValue, INFINITY); }},
            {"a value below 0", [](auto& b) { putFloat(b, SecondValue, -0.001f); }},
            {"a value above 1", [](auto& b) { putFloat(b, SecondValue, 1.001f); }},
            {"a NaN point", [](auto& b) { putFloat(b, Points + 8 + 4, NAN); }},
            {"a point above the area", [](auto& b) { putFloat(b, Points + 8 + 4, 10.9f); }},
            {"a point right of the area", [](auto& b) { putFloat(b, Points + 24, 255.5f); }},
            {"x falling", [](auto& b) { putFloat(b, Points + 16, 80.0f); }},
            {"first x off the left edge", [](auto& b) { putFloat(b, Points, 12.0f); }},
            {"last x off the right edge", [](auto& b) { putFloat(b, Points + 24, 254.0f); }},
        };
    const std::vector<std::uint8_t> valid = chunkOf(sampleState(true));
    for (const auto& [what, spoil] : cases) {
        std::vector<std::uint8_t> bytes = valid;
        spoil(bytes);
        ShaperState read;
        EXPECT_FALSE(shaperState::read(bytes.data(), static_cast<std::int64_t>(bytes.size()), true,
                                       Bounds, read))
            << what;
    }
    ShaperState read;
    EXPECT_FALSE(
        shaperState::read(nullptr, static_cast<std::int64_t>(valid.size()), true, Bounds, read));
    std::vector<std::uint8_t> longer = valid;
    longer.push_back(0);
    put32(longer, 8, static_cast<std::uint32_t>(longer.size()));
    EXPECT_FALSE(shaperState::read(longer.data(), static_cast<std::int64_t>(longer.size()), true,
                                   Bounds, read))
        << "a version 1 chunk with bytes beyond its fields";
}

// A later version that grew the header, each program, each point and the
// end of the chunk is read for the fields this version knows.
TEST(ShaperStateFormat, ALaterVersionIsReadForWhatItKnows) {
    for (const bool bank : {true, false}) {
        const ShaperState state = sampleState(bank);
        const std::vector<std::uint8_t> v1 = chunkOf(state);
        const std::size_t programs = bank ? 16 : 1;
        std::vector<std::uint8_t> v2(v1.begin(), v1.begin() + 40);
        for (const std::uint8_t b : {0xAB, 0xCD, 0xEF, 0x01}) // a new header field
            v2.push_back(b);
        for (std::size_t p = 0; p < programs; ++p) {
            const auto record = v1.begin() + static_cast<std::ptrdiff_t>(40 + 52 * p);
            v2.insert(v2.end(), record, record + 52);
            v2.insert(v2.end(), 8, 0x7F); // new program fields
        }
        for (std::int32_t i = 0; i < state.pointCount; ++i) {
            const auto point =
                v1.begin() +
                static_cast<std::ptrdiff_t>(40 + 52 * programs + 8 * static_cast<std::size_t>(i));
            v2.insert(v2.end(), point, point + 8);
            v2.insert(v2.end(), 4, 0xFF); // a new point field
        }
        v2.insert(v2.end(), 13, 0x55); // new fields at the end
        put32(v2, 4, 2);
        put32(v2, 8, static_cast<std::uint32_t>(v2.size()));
        put32(v2, 12, 44);
        put32(v2, 24, 60);
        put32(v2, 36, 12);
        ShaperState read;
        ASSERT_TRUE(
            shaperState::read(v2.data(), static_cast<std::int64_t>(v2.size()), bank, Bounds, read));
        expectSameState(read, state);
        v2.pop_back();
        EXPECT_FALSE(
            shaperState::read(v2.data(), static_cast<std::int64_t>(v2.size()), bank, Bounds, read))
            << "byte count no longer matches";
    }
}

} // namespace

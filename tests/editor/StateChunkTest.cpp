// The instance's state through the chunk opcodes, as a host saves and
// restores a project: every field comes back, with the editor open or
// closed, while another thread processes audio (run under ThreadSanitizer
// too); and a chunk that is refused changes nothing at all.

#include "EditorHost.h"

#include "editor/CurveEditor.h"
#include "editor/CurveModel.h"
#include "editor/ShaperEditor.h"
#include "editor/ShaperEffectEdit.h"
#include "editor/ShaperLayout.h"
#include "host/EffectBase.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

Point onCurve(std::int32_t x, std::int32_t y) {
    return {shaperLayout::CurveAnchor.h + x, shaperLayout::CurveAnchor.v + y};
}

Bytes chunkOf(EditorHost& host, bool program) {
    void* data = nullptr;
    const auto size =
        static_cast<std::size_t>(host.dispatch(OpGetChunk, program ? 1 : 0, 0, &data));
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    return size != 0 && bytes != nullptr ? Bytes(bytes, bytes + size) : Bytes{};
}

IntPtr loadChunk(EditorHost& host, bool program, Bytes bytes) {
    return host.dispatch(OpSetChunk, program ? 1 : 0, static_cast<IntPtr>(bytes.size()),
                         bytes.data());
}

std::vector<float> tableOf(const EditorHost& host) {
    std::vector<float> table;
    for (int k = 0; k < 1024; ++k)
        table.push_back(host.effect().transferTable().transferEntry(k));
    return table;
}

// What the window shows of the curve editor.
std::vector<platform::ColorWord> shownCurve(const EditorHost& host) {
    std::vector<platform::ColorWord> shown;
    std::int32_t width = 0, height = 0;
    if (!host.editorWindow())
        return shown;
    const auto all = platform::headless::windowPixels(host.editorWindow(), width, height);
    const Point origin = shaperLayout::CurveAnchor;
    for (std::int32_t y = origin.v; y < origin.v + 267 && y < height; ++y) {
        for (std::int32_t x = origin.h; x < origin.h + 267 && x < width; ++x)
            shown.push_back(all[static_cast<std::size_t>(y * width + x)]);
    }
    return shown;
}

std::string programName(EditorHost& host) {
    char name[64] = {};
    host.dispatch(OpGetProgramName, 0, 0, name);
    return name;
}

// Programs named and set apart from each other, program 6 current, and a
// drawn curve of four points; the editor is left open.
void makeDistinctState(EditorHost& host, std::int32_t seed) {
    for (std::int32_t p = 0; p < 16; ++p) {
        host.dispatch(OpSetProgram, 0, p);
        std::string name = "Take " + std::to_string(seed * 100 + p);
        host.dispatch(OpSetProgramName, 0, 0, name.data());
        for (std::int32_t index = 1; index <= 7; ++index)
            host.setParameter(index, static_cast<float>((p * 7 + index + seed) % 50) / 49.0f);
    }
    host.dispatch(OpSetProgram, 0, 6 + seed % 3);
    host.openEditor();
    host.paint();
    host.click(onCurve(40 + 20 * seed, 200 - 10 * seed));
    host.click(onCurve(150, 40 + 10 * seed));
    host.drag(onCurve(150, 40 + 10 * seed), {onCurve(160, 60 + 10 * seed)});
}

class AudioThread {
  public:
    explicit AudioThread(EffectRecord* record)
        : thread([this, record] {
              std::vector<float> left(128, 0.25f), right(128, -0.5f);
              float* inputs[2] = {left.data(), right.data()};
              std::vector<float> outLeft(128), outRight(128);
              float* outputs[2] = {outLeft.data(), outRight.data()};
              while (!stop.load(std::memory_order_relaxed))
                  record->processOverwriting(record, inputs, outputs, 128);
          }) {}
    ~AudioThread() {
        stop.store(true, std::memory_order_relaxed);
        thread.join();
    }

  private:
    std::atomic<bool> stop{false};
    std::thread thread;
};

// Every field of the bank and of a program chunk comes back: the saved
// chunk of the target equals the source's byte for byte, and so do the
// table, the parameters and, in an open editor, the curve and controls.
TEST(StateChunk, RoundTripsEveryFieldWithTheEditorOpenAndClosedWhileAudioRuns) {
    for (const bool editorOpen : {false, true}) {
        SCOPED_TRACE(editorOpen ? "editor open" : "editor closed");
        EditorHost source;
        makeDistinctState(source, 1);
        source.closeEditor();
        const Bytes bank = chunkOf(source, false);
        ASSERT_FALSE(bank.empty());

        EditorHost target;
        makeDistinctState(target, 2);
        if (!editorOpen)
            target.closeEditor();
        const auto shownBefore = shownCurve(target);
        {
            AudioThread audio(target.record);
            ASSERT_EQ(loadChunk(target, false, bank), 1);
            target.idle();
        }
        if (editorOpen) {
            EXPECT_TRUE(shownCurve(target) != shownBefore) << "the window shows the loaded curve";
        }
        EXPECT_EQ(chunkOf(target, false), bank);
        EXPECT_EQ(tableOf(target), tableOf(source));
        EXPECT_EQ(target.dispatch(OpGetProgram), source.dispatch(OpGetProgram));
        for (std::int32_t index = 1; index <= 7; ++index)
            EXPECT_EQ(target.parameter(index), source.parameter(index)) << index;
        if (editorOpen) {
            ShaperEditor* editor = target.effect().shaperEditor();
            CurvePoint expected[CurveModel::MaxPoints];
            const int count = source.effect().shaperEditor()->copyCurve(expected);
            ASSERT_EQ(editor->curveEditor()->pointCount(), count) << "shown at the idle";
            for (int i = 0; i < count; ++i) {
                EXPECT_EQ(editor->curveEditor()->model().point(i).x, expected[i].x) << i;
                EXPECT_EQ(editor->curveEditor()->model().point(i).y, expected[i].y) << i;
            }
            for (std::int32_t tag = 1; tag <= 7; ++tag)
                EXPECT_EQ(editor->controlFor(tag)->value(), target.parameter(tag)) << tag;
        }

        // One program: into the target's current program, with the curve.
        EditorHost third;
        makeDistinctState(third, 3);
        const Bytes program = chunkOf(third, true);
        const auto current = static_cast<std::size_t>(target.dispatch(OpGetProgram));
        const Bytes bankBefore = chunkOf(target, false);
        {
            AudioThread audio(target.record);
            ASSERT_EQ(loadChunk(target, true, program), 1);
            target.idle();
        }
        EXPECT_EQ(chunkOf(target, true), program);
        EXPECT_EQ(tableOf(target), tableOf(third));
        EXPECT_EQ(programName(target), programName(third));
        // The other programs' records (52 bytes each after a 40-byte header)
        // are as they were.
        const Bytes bankAfter = chunkOf(target, false);
        for (std::size_t p = 0; p < 16; ++p) {
            if (p == current)
                continue;
            const auto at = static_cast<std::ptrdiff_t>(40 + 52 * p);
            EXPECT_TRUE(std::equal(bankBefore.begin() + at, bankBefore.begin() + at + 52,
                                   bankAfter.begin() + at))
                << p;
        }
    }
}

// What the instance holds, as far as a host can tell.
struct Snapshot {
    Bytes bank;
    std::vector<float> table;
    std::vector<float> parameters;
    bool operator==(const Snapshot&) const = default;
};

Snapshot snapshotOf(EditorHost& host) {
    Snapshot s{chunkOf(host, false), tableOf(host), {}};
    for (std::int32_t index = 0; index <= 7; ++index)
        s.parameters.push_back(host.parameter(index));
    return s;
}

// Truncations, every byte changed in several ways, and random sizes: a
// refused chunk leaves the instance exactly as it was; an accepted one
// (a change can leave a chunk valid) becomes the new reference.
TEST(StateChunk, ARefusedChunkChangesNothing) {
    EditorHost host;
    makeDistinctState(host, 4);
    host.closeEditor();
    const Bytes valid = chunkOf(host, false);
    makeDistinctState(host, 5);
    Snapshot reference = snapshotOf(host);
    int refused = 0;
    int accepted = 0;
    const auto check = [&](const Bytes& chunk, IntPtr byteCount, const std::string& what) {
        Bytes copy = chunk;
        copy.resize(std::max<std::size_t>(copy.size(), 1));
        const IntPtr answer = host.dispatch(OpSetChunk, 0, byteCount, copy.data());
        if (answer == 0) {
            ++refused;
            if (!(snapshotOf(host) == reference)) {
                ADD_FAILURE() << "refused and changed: " << what;
                reference = snapshotOf(host);
            }
        } else {
            ++accepted;
            reference = snapshotOf(host);
        }
    };

    for (std::size_t length = 0; length < valid.size(); ++length)
        check(Bytes(valid.begin(), valid.begin() + static_cast<std::ptrdiff_t>(length)),
              static_cast<IntPtr>(length), "cut to " + std::to_string(length));
    for (std::size_t at = 0; at < valid.size(); ++at) {
        for (const int change : {0x01, 0x80, 0xFF}) {
            Bytes bytes = valid;
            bytes[at] ^= static_cast<std::uint8_t>(change);
            check(bytes, static_cast<IntPtr>(bytes.size()),
                  "byte " + std::to_string(at) + " ^ " + std::to_string(change));
        }
    }
    std::mt19937 random(7);
    for (int i = 0; i < 200; ++i) {
        Bytes bytes = valid;
        bytes.resize(random() % (2 * valid.size()), 0x41);
        const IntPtr claimed =
            i % 4 == 0 ? -static_cast<IntPtr>(random() % 100) : static_cast<IntPtr>(bytes.size());
        check(bytes, claimed, "random size " + std::to_string(bytes.size()));
    }
    EXPECT_EQ(host.dispatch(OpSetChunk, 0, 100, nullptr), 0);
    EXPECT_GT(refused, 1500);
    EXPECT_GT(accepted, 100) << "changed values, names and points that stay valid";
}

} // namespace

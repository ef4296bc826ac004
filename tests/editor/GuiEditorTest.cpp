// The editor glue on its own: the paced idle, the deferred update, what the
// toolkit is given of the host, the rectangle answered before opening, and
// the effect-with-editor's wiring.

#include "editor/GuiEditor.h"
#include "editor/CurveModel.h"
#include "editor/ShaperEditor.h"
#include "editor/ShaperEffectEdit.h"
#include "gui/ToolkitModule.h"
#include "gui/WindowDescription.h"
#include "host/EffectBase.h"
#include "host/Entry.h"
#include "host/ExtendedEffect.h"
#include "platform/Headless.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

int hostIdleCalls = 0;

IntPtr VARNEX_CALL countingHost(EffectRecord*, std::int32_t opcode, std::int32_t, IntPtr, void*,
                                float) {
    if (opcode == HostIdle)
        ++hostIdleCalls;
    return opcode == HostVersion ? 2400 : 0;
}

class QuietEffect final : public ExtendedEffect {
  public:
    QuietEffect() : ExtendedEffect(&countingHost, 1, 1) {}
    void processAdding(float**, float**, std::int32_t) override {}
};

class CountingEditor final : public GuiEditor {
  public:
    using GuiEditor::GuiEditor;
    void onIdle() override {
        ++idles;
        GuiEditor::onIdle();
    }
    void performUpdate() override { ++updates; }
    int idles = 0;
    int updates = 0;
};

class PacedIdle : public ::testing::Test {
  protected:
    void TearDown() override { platform::headless::useRealClock(); }

    // An editor whose last paced idle was at `start` milliseconds.
    CountingEditor& editorAt(std::uint32_t start) {
        platform::headless::setClock(start);
        hostIdleCalls = 0;
        return *new CountingEditor(&effect); // the effect owns it
    }

    QuietEffect effect;
};

TEST_F(PacedIdle, RunsAtMostOncePer50Milliseconds) {
    CountingEditor& editor = editorAt(1000);
    platform::headless::advanceClock(49);
    editor.trackingIdle();
    EXPECT_EQ(editor.idles, 0);
    EXPECT_EQ(hostIdleCalls, 0);
    platform::headless::advanceClock(1);
    editor.trackingIdle();
    EXPECT_EQ(editor.idles, 1);
    EXPECT_EQ(hostIdleCalls, 1) << "the host keeps running while a control holds the mouse";
    editor.trackingIdle();
    EXPECT_EQ(editor.idles, 1);
    platform::headless::advanceClock(50);
    editor.trackingIdle();
    EXPECT_EQ(editor.idles, 2);
}

TEST_F(PacedIdle, KeepsItsPaceAcrossTheTickCounterWrap) {
    CountingEditor& editor = editorAt(0xFFFFFFF0u);
    // Just before the wrap a plain comparison with last + 50 (which has
    // wrapped to a small number) would let every call through.
    platform::headless::advanceClock(5);
    editor.trackingIdle();
    EXPECT_EQ(editor.idles, 0);
    platform::headless::advanceClock(44); // 49 ms, past the wrap
    editor.trackingIdle();
    EXPECT_EQ(editor.idles, 0);
    platform::headless::advanceClock(1);
    editor.trackingIdle();
    EXPECT_EQ(editor.idles, 1);
}

TEST(GuiEditor, OnIdleRunsTheUpdateScheduledByOpeningOnce) {
    QuietEffect effect;
    auto* editor = new CountingEditor(&effect);
    EXPECT_EQ(effect.attachedEditor(), editor);
    EXPECT_EQ(effect.effectRecord()->flags & HasEditor, HasEditor);
    EXPECT_EQ(editor->openWindow(nullptr), 0);
    editor->onIdle();
    EXPECT_EQ(editor->updates, 1);
    editor->onIdle();
    EXPECT_EQ(editor->updates, 1);
    editor->parameterChanged(99, 0.5f);
    EXPECT_TRUE(editor->isUpdatePending());
}

// Host window requests (opcode 39 opens, 40 closes) with what came with them.
std::vector<std::pair<std::int32_t, void*>> windowRequests;

IntPtr VARNEX_CALL windowHost(EffectRecord*, std::int32_t opcode, std::int32_t, IntPtr, void* ptr,
                              float) {
    if (opcode == 39 || opcode == 40)
        windowRequests.emplace_back(opcode, ptr);
    if (opcode == 39)
        return 0x5150;
    return opcode == HostVersion ? 2400 : 0;
}

class WindowHostEffect final : public ExtendedEffect {
  public:
    WindowHostEffect() : ExtendedEffect(&windowHost, 1, 1) {}
    void processAdding(float**, float**, std::int32_t) override {}
};

TEST(GuiEditor, GivesTheToolkitTheModuleAndTheHostsWindows) {
    void* const loaded = moduleHandle;
    static char module;
    libraryLoadHook(&module, 1, nullptr);
    WindowHostEffect effect;
    auto* editor = new GuiEditor(&effect); // the effect owns it
    EXPECT_EQ(toolkitModule(), &module);
    libraryLoadHook(loaded, 1, nullptr);

    windowRequests.clear();
    WindowDescription description{};
    EXPECT_EQ(editor->openHostWindow(description), reinterpret_cast<void*>(0x5150));
    editor->closeHostWindow(description);
    const std::vector<std::pair<std::int32_t, void*>> asked{{39, &description}, {40, &description}};
    EXPECT_EQ(windowRequests, asked);

    // Without an effect there is no host to ask.
    GuiEditor alone(nullptr);
    EXPECT_EQ(toolkitModule(), loaded);
    EXPECT_EQ(alone.openHostWindow(description), nullptr);
    alone.closeHostWindow(description);
    EXPECT_EQ(windowRequests, asked);
}

IntPtr VARNEX_CALL plainHost(EffectRecord*, std::int32_t opcode, std::int32_t, IntPtr, void*,
                             float) {
    return opcode == HostVersion ? 2400 : 0;
}

TEST(ShaperEffectEdit, AnswersTheEditorRectangleBeforeOpening) {
    ShaperEffectEdit effect(&plainHost);
    EffectRecord* record = effect.effectRecord();
    EXPECT_EQ(record->uniqueId, fourCharCode('V', 'a', 'r', 'E'));
    EXPECT_EQ(record->flags, HasEditor | CanMono | CanOverwrite | ChunkPrograms);

    EditorRect* rect = nullptr;
    EXPECT_EQ(record->dispatch(record, OpEditorRect, 0, 0, &rect, 0.0f), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->top, 0);
    EXPECT_EQ(rect->left, 0);
    EXPECT_EQ(rect->bottom, 290);
    EXPECT_EQ(rect->right, 568);
}

TEST(ShaperEffectEdit, ParameterChangesBeforeOpeningScheduleNothingInTheEditor) {
    ShaperEffectEdit effect(&plainHost);
    ShaperEditor* editor = effect.shaperEditor();
    editor->onIdle();
    ASSERT_FALSE(editor->isUpdatePending());
    editor->parameterChanged(3, 0.2f);
    editor->parameterChanged(0, 0.0f);
    EXPECT_FALSE(editor->isUpdatePending());
    // Idle while closed is harmless.
    editor->onIdle();
    editor->redrawAll(nullptr);
}

// A host restoring a project sets parameter 0 too: a new instance already
// plays the table sampled from the editor's initial line (not the identity,
// which differs by up to 1/1024), and setting parameter 0 keeps it.
TEST(ShaperEffectEdit, ANewInstancePlaysTheSampledInitialLine) {
    ShaperEffectEdit effect(&plainHost);
    std::vector<float> sampled(1024);
    CurveModel(PlotArea::forPictures(267, 267, 13, 13)).sampleCurve(sampled.data(), 1024);
    for (const float shaper : {-1.0f, 0.5f}) {
        if (shaper >= 0.0f)
            effect.setParameterValue(0, shaper);
        for (int k = 0; k < 1024; ++k)
            ASSERT_EQ(effect.transferTable().transferEntry(k), sampled[static_cast<std::size_t>(k)])
                << k;
    }
}

} // namespace

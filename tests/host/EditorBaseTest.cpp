#include "host/EditorBase.h"

#include <gtest/gtest.h>

namespace {

class UpdateCounter : public EditorBase {
  public:
    UpdateCounter() : EditorBase(nullptr) {}
    int updates = 0;
    void performUpdate() override { ++updates; }
};

TEST(EditorBase, IdleRunsAScheduledUpdateOnce) {
    UpdateCounter editor;
    editor.onIdle();
    EXPECT_EQ(editor.updates, 0);
    editor.scheduleUpdate();
    editor.scheduleUpdate();
    EXPECT_TRUE(editor.isUpdatePending());
    editor.onIdle();
    editor.onIdle();
    EXPECT_EQ(editor.updates, 1);
    EXPECT_FALSE(editor.isUpdatePending());
}

TEST(EditorBase, HasNoRectangleOfItsOwn) {
    UpdateCounter editor;
    EditorRect dummy{};
    EditorRect* rect = &dummy;
    EXPECT_EQ(editor.editorRect(&rect), 0);
    EXPECT_EQ(rect, nullptr);
    int parent = 0;
    EXPECT_EQ(editor.openWindow(&parent), 0);
}

} // namespace

// When the editor cannot be allocated, the instance is not handed to the
// host, and since the flag is never cleared no later instance is either.
// The flag is process-wide, so this test has a program of its own.

#include "editor/ShaperEditor.h"
#include "host/EffectBase.h"
#include "host/Entry.h"

#include <gtest/gtest.h>

#include <new>

namespace {
bool failEditorAllocation = false;
int refusedAllocations = 0;
} // namespace

// The plug-in allocates its editor with the non-throwing new: refuse the
// one allocation of an editor's size while the test asks for it.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    if (failEditorAllocation && size == sizeof(ShaperEditor)) {
        ++refusedAllocations;
        return nullptr;
    }
    try {
        return ::operator new(size);
    } catch (...) {
        return nullptr;
    }
}

void operator delete(void* pointer, const std::nothrow_t&) noexcept {
    ::operator delete(pointer);
}

namespace {

IntPtr VARNEX_CALL plainHost(EffectRecord*, std::int32_t opcode, std::int32_t, IntPtr, void*,
                             float) {
    return opcode == HostVersion ? 2400 : 0;
}

TEST(OutOfMemory, AnInstanceWithoutItsEditorNeverReachesTheHost) {
    EffectRecord* record = pluginMain(&plainHost);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->flags & HasEditor, HasEditor);
    record->dispatch(record, OpClose, 0, 0, nullptr, 0.0f);

    failEditorAllocation = true;
    EXPECT_EQ(pluginMain(&plainHost), nullptr);
    EXPECT_EQ(refusedAllocations, 1);
    EXPECT_TRUE(outOfMemory.load());

    failEditorAllocation = false;
    EXPECT_EQ(pluginMain(&plainHost), nullptr) << "the flag is never cleared";
}

} // namespace

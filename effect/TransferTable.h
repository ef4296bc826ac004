#pragma once
// TransferTable: the shaper's transfer curve as 1024 samples of shape(x) for
// x = k / 1023, with the differences of neighbouring samples, read with
// linear interpolation and odd symmetry.
//
// Rebuilds run on the threads that set the "Shaper" parameter, the audio
// thread reads. The table is triple-buffered: a rebuild fills a slot no one
// reads and publishes it with one atomic exchange; the audio thread takes the
// newest slot at the start of a block with another. So a block never sees a
// half-written table, and the audio thread neither waits nor allocates.
// Rebuilds (and attaching a curve) are serialised among themselves by a
// mutex that the audio thread never touches.

#include "effect/BiquadFilter.h"
#include "effect/CurveSource.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>

class TransferTable {
  public:
    static constexpr std::int32_t Size = 1024;
    // Sampled heights are trusted for their shape but kept finite and within
    // this magnitude, so every interpolation and filter downstream stays
    // finite. A drawn curve lies in [0, 1].
    static constexpr float MaxHeight = 1000.0f;

    struct Entries {
        std::array<float, Size> transferTable;
        std::array<float, Size> slopeTable;
        // The same two values per entry, widened to double (exactly) and side
        // by side, so the audio loop reads an entry with one load.
        std::array<std::array<double, 2>, Size> widened;
    };

    TransferTable();
    TransferTable(const TransferTable&) = delete;
    TransferTable& operator=(const TransferTable&) = delete;

    // Sets the curve later rebuilds sample (none: the identity). Once this
    // returns, no rebuild uses the previous source any more.
    void attachCurve(CurveSource* source);
    CurveSource* attachedCurve() const;
    // Refills the table from the attached curve, or with the identity.
    void rebuild();

    // Audio thread only: the newest published table, kept until the next call.
    const Entries& acquireForAudio() noexcept;

    // Inspection from any thread except the audio thread: the newest table.
    float transferEntry(std::int32_t k) const;
    float slopeEntry(std::int32_t k) const;
    float shape(float x) const;

    // The lookup: x in [-1, 1], odd symmetry, scale 1023 so that the first
    // and last entries fall on the inputs 0 and 1.
    VARNEX_ALWAYS_INLINE static double shapePositive(const Entries& entries, double x) {
        const double u = x * 1023.0;
        const auto k = static_cast<std::int32_t>(u);
        const double fraction = u - k;
        return entries.transferTable[k] + fraction * entries.slopeTable[k];
    }
    static double shape(const Entries& entries, double x) {
        return x < 0.0 ? -shapePositive(entries, -x) : shapePositive(entries, x);
    }

    static void fillIdentity(Entries& entries);
    // Clamps the sampled heights and derives the slopes.
    static void finish(Entries& entries);

  private:
    static constexpr std::uint32_t FreshBit = 4;
    static constexpr std::uint32_t SlotMask = 3;

    const Entries& newest() const { return slots[lastPublished]; }

    std::array<Entries, 3> slots;
    // Slot handed between writer and reader, with FreshBit while unread.
    std::atomic<std::uint32_t> middleSlot{1};
    std::uint32_t readSlot = 0;  // audio thread's own
    std::uint32_t writeSlot = 2; // guarded by writerMutex
    std::uint32_t lastPublished = 0;
    CurveSource* curveSource = nullptr;
    mutable std::mutex writerMutex;
};

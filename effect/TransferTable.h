#pragma once
// TransferTable: the shaper's transfer curve as 1024 samples of shape(x) for
// x = k / 1023, with the differences of neighbouring samples, read with
// linear interpolation and odd symmetry.
//
// Three roles share four whole tables:
// - Builders (attachCurve, curveChanged, prepareFrom) sample a curve into a
//   table no one else touches and offer it as ready. They run on the
//   threads that change the curve (the editor's window thread, the host's
//   thread that loads a chunk), never on the audio thread, and a mutex
//   serialises them among themselves.
// - publish() (what setting parameter 0 does, on any thread, the audio
//   thread included) puts the ready table in use; with nothing offered
//   since the last publish it does nothing. It takes no lock, allocates
//   nothing and ends after a few atomic operations.
// - The audio thread takes the table in use at the start of every block
//   (acquireForAudio) and keeps it until the next block.
// The four tables change hands by exchanging their numbers in one atomic
// word, so a block never sees a half-written table and no table is written
// while anyone reads it.
//
// A curve source that does not count its changes (see CurveSource) is
// sampled by publish() itself, under the builders' mutex, as it always was:
// the editor's curves count theirs.

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

    // In use: the identity; nothing ready.
    TransferTable();
    TransferTable(const TransferTable&) = delete;
    TransferTable& operator=(const TransferTable&) = delete;

    // Builders: any thread except the audio thread.
    //
    // Sets the curve later tables are built from (none: the identity) and,
    // unless the source is Uncounted, builds its table, ready for the next
    // publish(). Once this returns, no build uses the previous source.
    void attachCurve(CurveSource* source);
    CurveSource* attachedCurve() const;
    // The attached source changed: builds its table, ready for the next
    // publish(). Nothing is built when its revision is the one the last
    // table was built from.
    void curveChanged();
    // Builds the table of `source` without attaching it, ready for the next
    // publish() (a curve that the attached source will show later).
    void prepareFrom(CurveSource& source);

    // Any thread, the audio thread included: puts the newest ready table in
    // use from the next audio block on. Lock-free and allocation-free,
    // except for an Uncounted source (see above).
    void publish();

    // Audio thread only: the table in use, kept until the next call.
    const Entries& acquireForAudio() noexcept;

    // Inspection from any thread except the audio thread: the table last
    // put in use. These wait for a build in progress, never for publish()
    // or the audio thread.
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
    // The hand-over word: which table is ready (built, not yet in use),
    // which was put in use last and whether the audio thread has taken it.
    // Two bits per table number.
    static constexpr std::uint32_t SlotMask = 3;
    static constexpr int ReadyShift = 0;                 // ready table
    static constexpr int PendingShift = 2;               // put in use, audio may not have taken it
    static constexpr int NewestShift = 4;                // last put in use (inspection reads it)
    static constexpr std::uint32_t ReadyFresh = 1u << 6; // ready was built since the last publish
    static constexpr std::uint32_t PendingFresh = 1u << 7; // the audio thread has not taken it

    static std::uint32_t slotAt(std::uint32_t word, int shift) {
        return (word >> shift) & SlotMask;
    }
    static std::uint32_t withSlot(std::uint32_t word, int shift, std::uint32_t slot) {
        return (word & ~(SlotMask << shift)) | (slot << shift);
    }

    // Under builderMutex: fills the builder's table and offers it as ready.
    void buildFrom(CurveSource* source);
    void offerBuilt();

    std::array<Entries, 4> slots;
    std::atomic<std::uint32_t> handover;
    std::uint32_t audioSlot = 0; // the audio thread's own
    std::uint32_t buildSlot = 3; // guarded by builderMutex
    CurveSource* curveSource = nullptr;
    // The source and revision the last built table came from.
    CurveSource* builtSource = nullptr;
    std::uint64_t builtRevision = CurveSource::Uncounted;
    // Set while an Uncounted source is attached: publish() then samples.
    std::atomic<bool> samplesOnPublish{false};
    mutable std::mutex builderMutex;
};

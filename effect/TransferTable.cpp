#include "effect/TransferTable.h"

#include <algorithm>
#include <cmath>

namespace {

// The revision a build remembers; the identity (no source) never changes.
std::uint64_t revisionOf(const CurveSource* source) {
    return source ? source->revision() : 0;
}

} // namespace

TransferTable::TransferTable() {
    for (Entries& entries : slots) {
        fillIdentity(entries);
        finish(entries);
    }
    // The audio thread reads table 0; 1 waits in the pending place and 2
    // in the ready place, neither fresh; the builders own 3.
    handover.store((2u << ReadyShift) | (1u << PendingShift) | (0u << NewestShift),
                   std::memory_order_relaxed);
    builtSource = nullptr;
    builtRevision = revisionOf(nullptr);
}

void TransferTable::attachCurve(CurveSource* source) {
    std::lock_guard<std::mutex> lock(builderMutex);
    curveSource = source;
    const bool uncounted = revisionOf(source) == CurveSource::Uncounted;
    samplesOnPublish.store(uncounted, std::memory_order_relaxed);
    if (!uncounted)
        buildFrom(source);
}

CurveSource* TransferTable::attachedCurve() const {
    std::lock_guard<std::mutex> lock(builderMutex);
    return curveSource;
}

void TransferTable::curveChanged() {
    std::lock_guard<std::mutex> lock(builderMutex);
    const std::uint64_t revision = revisionOf(curveSource);
    if (revision == CurveSource::Uncounted)
        return; // sampled when published
    if (curveSource == builtSource && revision == builtRevision)
        return;
    buildFrom(curveSource);
}

void TransferTable::prepareFrom(CurveSource& source) {
    std::lock_guard<std::mutex> lock(builderMutex);
    buildFrom(&source);
}

void TransferTable::buildFrom(CurveSource* source) {
    Entries& entries = slots[buildSlot];
    // Read before sampling: should the curve change meanwhile, the next
    // curveChanged() sees a newer revision and builds again.
    const std::uint64_t revision = revisionOf(source);
    if (source != nullptr) {
        source->sampleCurve(entries.transferTable.data(), Size);
    } else {
        fillIdentity(entries);
    }
    finish(entries);
    builtSource = source;
    builtRevision = revision;
    offerBuilt();
}

// The exchanges below are read-modify-writes with acquire and release
// order: each hands over a whole table, whose entries the giving side wrote
// (or last read) before its exchange and the taking side reads (or
// overwrites) only after its own. Every exchange continues the release
// sequence of the earlier ones on the same word, so this holds along any
// chain of hands.

void TransferTable::offerBuilt() {
    std::uint32_t word = handover.load(std::memory_order_relaxed);
    for (;;) {
        const std::uint32_t next = withSlot(word, ReadyShift, buildSlot) | ReadyFresh;
        if (handover.compare_exchange_weak(word, next, std::memory_order_acq_rel,
                                           std::memory_order_relaxed)) {
            // The table that was ready, put in use or not, is the builders'.
            buildSlot = slotAt(word, ReadyShift);
            return;
        }
    }
}

void TransferTable::publish() {
    if (samplesOnPublish.load(std::memory_order_relaxed)) {
        std::lock_guard<std::mutex> lock(builderMutex);
        if (revisionOf(curveSource) == CurveSource::Uncounted)
            buildFrom(curveSource);
    }
    std::uint32_t word = handover.load(std::memory_order_relaxed);
    // Nothing built since the last publish: the table in use stays.
    while ((word & ReadyFresh) != 0) {
        const std::uint32_t ready = slotAt(word, ReadyShift);
        const std::uint32_t pending = slotAt(word, PendingShift);
        // The ready table becomes pending for the audio thread; one that was
        // pending and not yet taken is superseded and goes to the ready place.
        std::uint32_t next = withSlot(word, ReadyShift, pending);
        next = withSlot(next, PendingShift, ready);
        next = withSlot(next, NewestShift, ready);
        next = (next & ~ReadyFresh) | PendingFresh;
        if (handover.compare_exchange_weak(word, next, std::memory_order_acq_rel,
                                           std::memory_order_relaxed)) {
            return;
        }
    }
}

const TransferTable::Entries& TransferTable::acquireForAudio() noexcept {
    std::uint32_t word = handover.load(std::memory_order_relaxed);
    while ((word & PendingFresh) != 0) {
        const std::uint32_t next = withSlot(word, PendingShift, audioSlot) & ~PendingFresh;
        if (handover.compare_exchange_weak(word, next, std::memory_order_acq_rel,
                                           std::memory_order_relaxed)) {
            audioSlot = slotAt(word, PendingShift);
            break;
        }
    }
    return slots[audioSlot];
}

float TransferTable::transferEntry(std::int32_t k) const {
    std::lock_guard<std::mutex> lock(builderMutex);
    const Entries& newest = slots[slotAt(handover.load(std::memory_order_relaxed), NewestShift)];
    return newest.transferTable[static_cast<std::size_t>(std::clamp(k, 0, Size - 1))];
}

float TransferTable::slopeEntry(std::int32_t k) const {
    std::lock_guard<std::mutex> lock(builderMutex);
    const Entries& newest = slots[slotAt(handover.load(std::memory_order_relaxed), NewestShift)];
    return newest.slopeTable[static_cast<std::size_t>(std::clamp(k, 0, Size - 1))];
}

float TransferTable::shape(float x) const {
    std::lock_guard<std::mutex> lock(builderMutex);
    const Entries& newest = slots[slotAt(handover.load(std::memory_order_relaxed), NewestShift)];
    const double clipped = std::clamp(static_cast<double>(x), -1.0, 1.0);
    return static_cast<float>(shape(newest, clipped));
}

void TransferTable::fillIdentity(Entries& entries) {
    constexpr float Step = 1.0f / 1023.0f;
    for (std::int32_t j = 0; j < Size; ++j) {
        entries.transferTable[static_cast<std::size_t>(j)] = static_cast<float>(j) * Step;
    }
}

void TransferTable::finish(Entries& entries) {
    for (float& height : entries.transferTable) {
        if (!std::isfinite(height)) {
            height = 0.0f;
        }
        height = std::clamp(height, -MaxHeight, MaxHeight);
    }
    for (std::size_t k = 0; k + 1 < Size; ++k) {
        entries.slopeTable[k] = entries.transferTable[k + 1] - entries.transferTable[k];
    }
    // Read only with weight 0 (at the input 1.0).
    entries.slopeTable[Size - 1] = 0.0f;
    for (std::size_t k = 0; k < Size; ++k) {
        entries.widened[k] = {entries.transferTable[k], entries.slopeTable[k]};
    }
}

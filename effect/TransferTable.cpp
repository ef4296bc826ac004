#include "effect/TransferTable.h"

#include <algorithm>
#include <cmath>

TransferTable::TransferTable() {
    fillIdentity(slots[readSlot]);
    finish(slots[readSlot]);
}

void TransferTable::attachCurve(CurveSource* source) {
    std::lock_guard<std::mutex> lock(writerMutex);
    curveSource = source;
}

CurveSource* TransferTable::attachedCurve() const {
    std::lock_guard<std::mutex> lock(writerMutex);
    return curveSource;
}

void TransferTable::rebuild() {
    std::lock_guard<std::mutex> lock(writerMutex);
    Entries& entries = slots[writeSlot];
    if (curveSource != nullptr) {
        curveSource->sampleCurve(entries.transferTable.data(), Size);
    } else {
        fillIdentity(entries);
    }
    finish(entries);
    lastPublished = writeSlot;
    const std::uint32_t previous =
        middleSlot.exchange(writeSlot | FreshBit, std::memory_order_acq_rel);
    writeSlot = previous & SlotMask;
}

const TransferTable::Entries& TransferTable::acquireForAudio() noexcept {
    if ((middleSlot.load(std::memory_order_relaxed) & FreshBit) != 0) {
        const std::uint32_t previous = middleSlot.exchange(readSlot, std::memory_order_acq_rel);
        readSlot = previous & SlotMask;
    }
    return slots[readSlot];
}

float TransferTable::transferEntry(std::int32_t k) const {
    std::lock_guard<std::mutex> lock(writerMutex);
    return newest().transferTable[static_cast<std::size_t>(std::clamp(k, 0, Size - 1))];
}

float TransferTable::slopeEntry(std::int32_t k) const {
    std::lock_guard<std::mutex> lock(writerMutex);
    return newest().slopeTable[static_cast<std::size_t>(std::clamp(k, 0, Size - 1))];
}

float TransferTable::shape(float x) const {
    std::lock_guard<std::mutex> lock(writerMutex);
    const double clipped = std::clamp(static_cast<double>(x), -1.0, 1.0);
    return static_cast<float>(shape(newest(), clipped));
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

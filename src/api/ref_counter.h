// Base of the shared implementation objects behind the handle classes
// (contexts, browse identifiers). A new object has count 0 until the first
// handle takes it; the object deletes itself through its virtual destructor
// when the count drops below 1. The count is atomic, so handles sharing one
// object may be copied and dropped on any thread; nothing else is locked.
// Objects must be allocated with plain `new`. The handle classes keep one raw
// pointer each and manage it with RetainShared, AssignShared and ReleaseShared.
#pragma once

#include <atomic>
#include <cstdint>

class CRefCounter {
  public:
    CRefCounter() = default;
    CRefCounter(const CRefCounter&) = delete;
    CRefCounter& operator=(const CRefCounter&) = delete;
    virtual ~CRefCounter() = default;

    /// Adds one reference.
    void AddRef() noexcept { count_.fetch_add(1, std::memory_order_relaxed); }

    /// Drops one reference and deletes the object when none is left.
    void Release() noexcept {
        // acq_rel: every earlier use of the object by other owners happens
        // before the deleting thread runs the destructor.
        if (count_.fetch_sub(1, std::memory_order_acq_rel) - 1 < 1) {
            delete this;
        }
    }

  private:
    std::atomic<std::int32_t> count_{0};
};

/// Adds a reference to `object` when it is not null and returns it.
template <typename Counted>
Counted* RetainShared(Counted* object) noexcept {
    if (object != nullptr) {
        object->AddRef();
    }
    return object;
}

/// Drops the reference held in `slot`, if any, and empties the slot.
template <typename Counted>
void ReleaseShared(Counted*& slot) noexcept {
    if (slot != nullptr) {
        slot->Release();
        slot = nullptr;
    }
}

/// Makes `slot` share `other`; taking the new reference first keeps `other`
/// alive when the old one was its last holder.
template <typename Counted>
void AssignShared(Counted*& slot, Counted* other) noexcept {
    if (slot != other) {
        RetainShared(other);
        ReleaseShared(slot);
        slot = other;
    }
}

#pragma once

#include <atomic>

namespace mppi {

// A value that one thread may write while others read it, with no ordering beyond the value
// itself: a relaxed atomic that can be copied, so containers of it can be copied whole. A copy
// reads each element once; it is never torn.
template <typename T>
class RelaxedAtomic {
    static_assert(std::atomic<T>::is_always_lock_free, "read by the audio thread: never a lock");

public:
    RelaxedAtomic() = default;
    RelaxedAtomic(T value) : value_(value) {}
    RelaxedAtomic(const RelaxedAtomic& other) : value_(other.load()) {}
    RelaxedAtomic& operator=(const RelaxedAtomic& other)
    {
        store(other.load());
        return *this;
    }

    T load() const { return value_.load(std::memory_order_relaxed); }
    void store(T value) { value_.store(value, std::memory_order_relaxed); }

private:
    std::atomic<T> value_{};
};

} // namespace mppi

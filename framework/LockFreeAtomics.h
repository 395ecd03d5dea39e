#pragma once

#include <atomic>
#include <cstdint>

// The audio thread reads parameters, flags and tempos that other threads write through atomics
// of these types; none may fall back to a lock, on any target the plug-in is built for (32- and
// 64-bit Windows, Linux). Every header that declares such an atomic includes this one.
static_assert(std::atomic<bool>::is_always_lock_free);
static_assert(std::atomic<int>::is_always_lock_free);
static_assert(std::atomic<std::int32_t>::is_always_lock_free);
static_assert(std::atomic<float>::is_always_lock_free);
static_assert(std::atomic<double>::is_always_lock_free, "8-byte atomics must be lock-free on 32-bit targets too");

namespace mppi {

// Clears `flag` and answers whether it was set. The common case, unset, costs a plain load: the
// exchange, a locked instruction, runs only when there is something to take. A flag set after
// the load is taken at the next call.
inline bool takeFlag(std::atomic<bool>& flag)
{
    return flag.load(std::memory_order_relaxed) && flag.exchange(false, std::memory_order_acquire);
}

} // namespace mppi

#pragma once

#include <atomic>
#include <mutex>

namespace sys {

// A lock for short sections that only non-audio threads enter (the host's dispatcher threads,
// the editor's). Lockable, so std::lock_guard takes it; it needs no thread support from the
// runtime, which the Windows builds' runtime lacks. A waiter yields its time slice.
class SpinLock {
public:
    void lock()
    {
        while (busy_.test_and_set(std::memory_order_acquire))
            yield();
    }
    void unlock() { busy_.clear(std::memory_order_release); }

private:
    // Gives the rest of the calling thread's time slice to another thread.
    static void yield();

    std::atomic_flag busy_ = ATOMIC_FLAG_INIT;
};

} // namespace sys

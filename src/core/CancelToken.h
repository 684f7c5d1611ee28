#pragma once
// A stop request for a running exchange. The exchange's link looks at it before and after
// every wait, so an exchange stops between bytes, whichever thread sets it.

#include <atomic>

namespace orv {

// Stops an exchange from another thread (a Stop button, a fleet's Stop Now). Thread-safe.
class CancelToken {
public:
    void cancel() { m_cancelled.store(true, std::memory_order_relaxed); }
    void reset() { m_cancelled.store(false, std::memory_order_relaxed); }
    bool isCancelled() const { return m_cancelled.load(std::memory_order_relaxed); }

private:
    std::atomic<bool> m_cancelled{false};
};

} // namespace orv

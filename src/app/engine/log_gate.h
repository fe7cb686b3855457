// The one rule for work that touches the local log while a long job holds it (a repair, an
// export, the start-up): whatever arrives meanwhile - a datagram, a click, a search, the close -
// waits in arrival order and runs when the job has ended.
#pragma once

#include <deque>
#include <functional>
#include <utility>

namespace vantrel {

class LogGate {
public:
    bool Held() const { return holds_ > 0; }
    std::size_t Waiting() const { return waiting_.size(); }

    void Hold() { ++holds_; }
    // Ends one hold; when none is left the waiting work runs in the order it came, until a piece
    // of it holds the log again.
    void Release() {
        if (holds_ > 0) --holds_;
        if (draining_) return;
        draining_ = true;
        while (!Held() && !waiting_.empty()) {
            auto next = std::move(waiting_.front());
            waiting_.pop_front();
            next();
        }
        draining_ = false;
    }

    // Runs the work now when the log is free and nothing waits before it, else in its turn.
    void WhenFree(std::function<void()> work) {
        if (Held() || draining_) {
            waiting_.push_back(std::move(work));
            return;
        }
        work();
    }

private:
    int holds_ = 0;
    bool draining_ = false;
    std::deque<std::function<void()>> waiting_;
};

}  // namespace vantrel

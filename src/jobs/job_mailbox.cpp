#include "jobs/job_mailbox.h"

namespace vantrel {

void JobMailbox::Post(std::function<void()> delivery) {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        pending_.push_back(std::move(delivery));
    }
    QMetaObject::invokeMethod(this, "Deliver", Qt::QueuedConnection);
}

void JobMailbox::Deliver() {
    std::vector<std::function<void()>> taken;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        taken.swap(pending_);
    }
    for (auto& delivery : taken) delivery();
}

}  // namespace vantrel

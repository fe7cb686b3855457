// The confirmations of the viewer folder (confirmations.adi) as the running program holds them:
// one store, replaced as a whole when a job has read or merged a copy of it, every replacement
// announced to the parts that subscribed. Jobs work on copies: the index a copy hands out is
// never changed, so the window's reads and a job's merge never meet.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "awards/confirmation_store.h"

namespace vantrel {

class ConfirmationsModel {
public:
    using Listener = std::function<void()>;

    explicit ConfirmationsModel(const std::filesystem::path& viewerFolder) : store_(viewerFolder) {}

    // False until the file has been read once (a job reads it; see Take).
    bool Loaded() const { return loaded_; }
    // A copy to read or merge off the engine's thread.
    ConfirmationStore Copy() const { return store_; }
    std::shared_ptr<const ConfirmationIndex> Index() const { return store_.Index(); }
    std::size_t size() const { return store_.size(); }

    // A copy read by a job: taken only while nothing newer is held.
    void TakeLoaded(ConfirmationStore store) {
        if (loaded_) return;
        Replace(std::move(store));
    }
    // A copy that a job merged into (read first when it was not yet): always newer.
    void Replace(ConfirmationStore store) {
        store_ = std::move(store);
        loaded_ = true;
        for (const Listener& listener : listeners_) listener();
    }
    // Told after every replacement, in the order they subscribed.
    void OnChanged(Listener listener) { listeners_.push_back(std::move(listener)); }

private:
    ConfirmationStore store_;
    bool loaded_ = false;
    std::vector<Listener> listeners_;
};

}  // namespace vantrel

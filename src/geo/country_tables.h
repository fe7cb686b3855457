// The country table in use, shared by everything that names countries. A new cty.dat replaces
// it as a whole; holders of the old table keep it alive until they let go of it, so a search,
// a decoded station or a background job never reads a table that was freed under it. Whoever
// needs the current table subscribes and is told of every replacement.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <vector>

#include "geo/country_lookup.h"

namespace vantrel {

using CountryTablePtr = std::shared_ptr<const CountryTable>;

class CountryTables {
public:
    using Listener = std::function<void(const CountryTablePtr&)>;

    // Never null: an empty table until one is loaded.
    const CountryTablePtr& Current() const { return current_; }
    // Installs a table (null installs an empty one) and tells every listener, in the order they
    // subscribed.
    void Replace(CountryTablePtr table);
    // Listeners live as long as the tables; parts subscribe when they are made.
    void Subscribe(Listener listener) { listeners_.push_back(std::move(listener)); }
    // Counts the replacements: a job that started on an older table can tell its result is stale.
    std::size_t Generation() const { return generation_; }

private:
    CountryTablePtr current_ = std::make_shared<const CountryTable>();
    std::vector<Listener> listeners_;
    std::size_t generation_ = 0;
};

}  // namespace vantrel

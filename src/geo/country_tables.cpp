#include "geo/country_tables.h"

namespace vantrel {

void CountryTables::Replace(CountryTablePtr table) {
    current_ = table ? std::move(table) : std::make_shared<const CountryTable>();
    ++generation_;
    // A copy: the local keeps the table alive even if a listener replaces it again.
    const CountryTablePtr installed = current_;
    for (const Listener& listener : listeners_) listener(installed);
}

}  // namespace vantrel

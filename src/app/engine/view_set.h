// The views of capabilities beyond the main window's own panels (a window of their own, a
// notifier): each is found by its interface. A holder that has none of them (a run without a
// window, a test that does not look) gets a view that shows nothing, so a new capability does
// not touch every holder of views.
#pragma once

#include <typeindex>
#include <typeinfo>
#include <unordered_map>

namespace vantrel {

class ViewSet {
public:
    template <class View>
    ViewSet& Add(View& view) {
        views_[std::type_index(typeid(View))] = &view;
        return *this;
    }
    // The view given for the interface, or one that shows nothing (the interface's own
    // do-nothing bodies).
    template <class View>
    View& Get() const {
        const auto found = views_.find(std::type_index(typeid(View)));
        if (found != views_.end()) return *static_cast<View*>(found->second);
        static View none;
        return none;
    }

private:
    std::unordered_map<std::type_index, void*> views_;
};

}  // namespace vantrel

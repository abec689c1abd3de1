#pragma once
// In-process notice that a stored record list was replaced, so that components holding a copy
// (the session's auto macros, its bookmarks) reload it. The argument is the record kind.
#include <functional>
#include <map>

class ListChanges {
public:
    using Listener = std::function<void(int kind)>;

    int subscribe(Listener listener) {
        listeners_[nextId_] = std::move(listener);
        return nextId_++;
    }
    void unsubscribe(int id) { listeners_.erase(id); }
    void notify(int kind) {
        auto copy = listeners_;  // a listener may unsubscribe itself
        for (auto& [id, listener] : copy)
            listener(kind);
    }

private:
    std::map<int, Listener> listeners_;
    int nextId_ = 1;
};

#pragma once
// A most-recent-first list of places (title and location, CP949) kept in memory for the
// session: the recent locations gone to and the recent menus seen.
#include <cstddef>
#include <vector>

#include "auto/LocationRecognition.h"

class RecentPlaces {
public:
    explicit RecentPlaces(size_t limit) : limit_(limit) {}

    // Puts the place first; an earlier equal one (ASCII case aside) moves up rather than
    // staying twice. The oldest beyond the limit goes.
    void Add(const Location& place);
    const std::vector<Location>& Places() const { return places_; }
    // Nothing for an index outside the list.
    const Location* At(size_t index) const {
        return index < places_.size() ? &places_[index] : nullptr;
    }

private:
    size_t limit_;
    std::vector<Location> places_;
};

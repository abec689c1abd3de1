#include "auto/RecentPlaces.h"

#include <algorithm>

#include "auto/Registry.h"

namespace {

bool samePlace(const Location& a, const Location& b) {
    return Registry::foldName(a.title) == Registry::foldName(b.title) &&
           Registry::foldName(a.code) == Registry::foldName(b.code);
}

}  // namespace

void RecentPlaces::Add(const Location& place) {
    std::erase_if(places_, [&](const Location& old) { return samePlace(old, place); });
    places_.insert(places_.begin(), place);
    if (places_.size() > limit_) places_.resize(limit_);
}

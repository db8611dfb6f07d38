#include "viewport/DrawTiming.h"

#include <host/Playback.h>

#include <algorithm>

namespace host {
namespace {

RefreshDrawTiming::Clock::duration& longest() {
    static RefreshDrawTiming::Clock::duration time{};
    return time;
}

}  // namespace

RefreshDrawTiming::~RefreshDrawTiming() {
    longest() = std::max(longest(), spent_);
}

double longestDrawMilliseconds() {
    return std::chrono::duration<double, std::milli>(longest()).count();
}

void resetDrawTiming() {
    longest() = RefreshDrawTiming::Clock::duration{};
}

}  // namespace host

// The path facts in words (Windows-1252): the block of lines the Params tab
// shows, and the short form the status bar adds to the chart's message.
#pragma once

#include <string>

#include "geo/PathFacts.h"

namespace vx {

// Lines ended by "\n": both paths, the DX country when known, then each
// end's local time, where its clock comes from, and its sunrise and sunset.
std::string PathFactsText(const TPathFacts& f);

// "5570 km, 288\xB0": the short path's distance and bearing.
std::string PathFactsBrief(const TPathFacts& f);

// "HH:MM" of a time of day in hours (rounded to the minute, 24:00 is 00:00).
std::string ClockText(double hours);

// "HH:MM" of the place's clock: the minute that has begun.
std::string LocalTimeText(const TEndFacts& e);

// "UTC", "UTC+1", "UTC-3:30".
std::string UtcOffsetText(double hours);

}  // namespace vx

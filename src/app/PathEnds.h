// What the path facts are made from, as the window holds it: the two
// positions, and the DX country and clock when the DX position is a
// looked-up call's.
#pragma once

#include <string>

#include "app/PredCtl.h"
#include "geo/PathFacts.h"
#include "refdata/CallParser.h"

namespace vx {

// call: the call-sign box; the parser holds its last lookup. The DX's
// country comes from the lookup result the DX frame was filled from.
TPathEnds PathEndsOf(const TPredictionInputs& inputs, const std::string& call, const TCallParser& parser);

}  // namespace vx

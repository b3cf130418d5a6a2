// One month of the long-term tables, brought into the run's state for a
// sunspot number.
#pragma once

#include "model/ModelData.h"
#include "model/State.h"

namespace vx::model {

// REDMAP: the foF2 maps of the set named by s.ccoeff.coeff (anything but
// "URSI" becomes "CCIR", written back as the reference does) and the month's
// other tables, the sunspot-dependent ones interpolated for ssn, into s.one,
// s.two and s.fone. month is 1..12. s.one.ia and s.one.ib are left alone.
void ReadMonthMaps(const TModelData &data, TModelState &s, float ssn, int month);

} // namespace vx::model

// The splash delay tables, built each time the animation window opens: for
// grid sizes D = 2, 3, 4 an order text gives every cell of the D x D pattern
// its place k in the order of flight, and the cell's delay factor is
// 0.1 + k * 0.4 / D; D = 1 has the single value 0.4.
#pragma once

#include "generation_context.h"

namespace vakuro {

// SetDiz: fills effects.splashDelay[D] from an order text of two-digit
// numbers separated by one character ("01-03-02-04"). D must be 1 .. 4; an
// order text too short for D x D numbers leaves the missing cells at 0.
void SetDiz(EffectState& effects, int D, const char* order);

// The four tables of the splash effects.
void buildSplashTables(EffectState& effects);

}  // namespace vakuro

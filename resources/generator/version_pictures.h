// The version dialog's shine: a slanted band of light on black that the
// dialog moves up through the letters of its logo.
#pragma once

#include <QImage>

namespace vakuro::gen {

// A width x height picture, black except for one band of light rising to
// the right across the middle: a white core in a warm gold glow, and a
// thinner, fainter glint following below it. The band stays more than the
// logo's height away from the top and bottom edges, so that at rest, in the
// first and last positions, none of it shows.
QImage makeVersionShine(int width, int height);

}  // namespace vakuro::gen

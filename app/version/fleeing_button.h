// Where the version dialog's OK button stands while it flees from the mouse.
// All positions are in twips of the dialog's client area (15 per pixel).
#pragma once

#include <QPointF>
#include <QRectF>

namespace vakuro {

// The button's home: left 5880, top 420, 1214 x 494 twips, so its centre is
// (6487, 667).
inline constexpr double kOkHomeLeft = 5880;
inline constexpr double kOkHomeTop = 420;
inline constexpr double kOkHalfWidth = 607;
inline constexpr double kOkHalfHeight = 247;
inline constexpr QPointF kOkHomeCentre{kOkHomeLeft + kOkHalfWidth, kOkHomeTop + kOkHalfHeight};

// The mouse reaches the button when it is at most this far from the home
// centre.
inline constexpr double kFleeRadius = 720.5;

// The button's centre for a mouse at the given point: home when the mouse is
// farther than kFleeRadius from the home centre; otherwise the centre moves
// away from the mouse along the line through both, to
// home - 1.1 m (mouse - home) with m = (655 - d) / d, which keeps it about
// 720 twips from the mouse. A mouse on the home centre itself (d = 0, where
// that line has no direction) sends the button straight left by the same
// distance.
QPointF FleeingButtonCentre(QPointF mouse);

// The button's rectangle around a centre.
QRectF OkButtonRect(QPointF centre);

}  // namespace vakuro

// Painting what lies behind a control, for controls that show their
// parent through themselves.
#pragma once

#include "platform/toolkit/canvas.h"
#include "platform/toolkit/controls.h"
#include "platform/toolkit/geometry.h"

// The parent's background and the parent's non-windowed controls below
// AControl that meet it, in AControl's coordinates. Nothing without a
// control or a parent.
void PaintParentBackground(TControl* AControl, TCanvas* ACanvas);
// The same for ARect of AControl, whose top-left corner lands at the
// canvas origin.
void PaintParentBackgroundRect(TControl* AControl, const TRect& ARect, TCanvas* ACanvas);

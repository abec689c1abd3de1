#pragma once
// The geometry of NAPLPS arcs in unit-screen coordinates.
#include <vector>

#include "vtx/VtxMirror.h"

// The arc from `start` through `middle` to `end` as a polyline, with steps of about `step`
// along it; when end equals start, the whole circle on the diameter start-middle. Points on a
// line give the straight path start-middle-end; three equal points give one point.
std::vector<VtxPoint> ArcPath(VtxPoint start, VtxPoint middle, VtxPoint end, double step);

#pragma once
// A deterministic QCIF picture source for recording without a camera: colour bars that move
// one step a frame, with the frame number written in the top left corner.
#include <string>

// Frame n of the pattern as planar 4:2:0.
std::string testPatternPicture(int frameNumber);

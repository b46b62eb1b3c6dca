// The camera trails the tool: the eye slowly, the point it looks at faster,
// so that it first turns after the tool and only then travels after it.
// Both anchors step by a fixed fraction per drawn frame. The state is the
// program's, not the scene's: render() alone moves it, and a reset leaves
// it where it was.
#pragma once

#include "sandbox.h"

extern Float3 eyeAnchor;     // the eye stands at a fixed offset from it
extern Float3 lookAnchor;    // and looks at a point at a fixed offset from this one
extern float eyeFollowRate;  // fraction of the remaining distance closed per frame
extern float lookFollowRate;

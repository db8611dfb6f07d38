#pragma once

// The media frame shown at a node time value: the value minus the offset, truncated toward
// zero, or -1 (a frame that never exists) when outside a start or end limit above 0.
int frameNumberAt(double timeValue, int frameOffset, int startFrame, int endFrame);

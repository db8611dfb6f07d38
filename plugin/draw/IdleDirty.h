#pragma once

#include <maya/MString.h>

// Marks the plug ("node.attribute") dirty from the main thread's idle queue, so that whatever
// reads it computes it again: outside the draw, and without setting it, which would be an edit.
void dirtyOnIdle(const MString& plugName);

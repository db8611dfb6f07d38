#pragma once

#include <maya/MString.h>
#include <maya/MStringArray.h>

// The "colorSpace" field a node starts with, before any file decides: the configuration's sRGB
// texture space, under the names Maya's and the ACES configurations give it, or 0 ("None",
// shown as stored) when the list has none. Footage is display-referred almost always: a linear
// space would show it washed out.
short defaultColorSpaceField(const MStringArray& inputSpaces);

// Whether a name is one of those of the sRGB texture space.
bool isSrgbTextureSpace(const MString& name);

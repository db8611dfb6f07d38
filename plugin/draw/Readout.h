#pragma once

#include "cache/CachedFrames.h"

#include <maya/MPointArray.h>
#include <maya/MString.h>
#include <maya/MUIDrawManager.h>

#include <string>

// The readout's line for a picture: its frame in the file, then the file's timecode of that
// frame, or the file's name when it has none ("frame 12  01:00:00:12", "frame 1012  a.0012.png").
MString readoutLine(int mediaFrame, const std::string& timecode, const MString& filePath);
// The line while the frame asked for is on its way: that of the frame standing in for it, if
// any, then what is awaited ("frame 12  01:00:00:12  (not yet frame 40)", "(not yet frame 40)").
MString awaitedReadoutLine(const MString& standInLine, int awaitedFrame);

// Draws the readout on the picture's quad (`quad`: its corners in the node's space): the line in
// the top left corner, and along the bottom edge a thin bar across the clip's frames with the
// runs of frames held in the cache marked. Its own drawable, not selectable.
void drawReadout(MHWRender::MUIDrawManager& drawManager, const MPointArray& quad,
                 const MString& line, const video::CachedFrames& cached);

#pragma once

#include "node/FrameShape.h"

#include <maya/MString.h>

#include <optional>

// The picture shape of the footage at a resolved path: a video's from its header; a sequence's
// from the header of its first frame on disk (the file itself when it is not numbered).
std::optional<FrameShape> readFootageShape(const MString& path);

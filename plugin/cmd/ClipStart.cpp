#include "cmd/ClipStart.h"

#include "footage/MediaKind.h"
#include "sequence/SequencePattern.h"

#include <maya/MAnimControl.h>
#include <maya/MTime.h>

#include <cmath>

ClipStart::ClipStart(const MString& resolvedPath) : video_(isVideoPath(resolvedPath.asChar())) {
    if (video_) {
        firstPicture_ = 0;
        return;
    }
    const video::SequencePattern pattern(resolvedPath.asChar());
    if (const auto onDisk = pattern.numbered() ? pattern.framesOnDisk() : std::nullopt) {
        firstPicture_ = onDisk->first;
    }
}

int ClipStart::defaultStart() const {
    if (video_) {
        return static_cast<int>(std::lround(MAnimControl::minTime().as(MTime::uiUnit())));
    }
    return firstPicture_.value_or(0);
}

int ClipStart::offsetFor(int start) const {
    return known() ? start - *firstPicture_ : 0;
}

int ClipStart::startUnder(int frameOffset) const {
    return firstPicture_.value_or(0) + frameOffset;
}

MString ClipStart::cannotPlace(const MString& file) {
    return MString("cineSheet: cannot place \"") + file +
           "\" at a start frame: it is a single image, or no file of the sequence is there";
}

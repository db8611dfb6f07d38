#pragma once

#include <maya/MDGModifier.h>
#include <maya/MObject.h>
#include <maya/MStatus.h>
#include <maya/MString.h>

// The sound of a CineSheet node's clip on Maya's timeline: the clip's first audio stream written
// as a WAV file where the project's "sound" file rule points, decoded on a worker while the
// command shows its progress and can be cancelled, and an audio node made for it with the "sound"
// command, which keeps the file's path relative to the project, placed so that the sound of each
// video frame plays where the plane shows that frame. The node's offset and start are connected
// from the plane and follow its frameOffset and startFrame; its end is the range's end at the
// import.
//
// What an audio node cannot follow: it plays its file at the file's own speed. With
// "forceFrameRate" on, the plane plays the clip at its own speed too and the two stay together;
// with it off, the plane shows one video frame per scene frame, so when the scene's rate is not
// the clip's the pictures run faster or slower than the sound, and only the first frame is in
// step. A warning says so at the import.
class SoundImport {
public:
    // Writes the WAV file and makes the audio node for the CineSheet shape. A clip without
    // sound, an image or image sequence, a sound that cannot be read or written, or one a WAV
    // file cannot hold (past 4 GB, or at a sample rate its header cannot describe) gets a
    // warning and no node. Returns the node's name, empty when none was made.
    MString make(const MObject& shape);

    // Undo and redo of make: the audio node is deleted and brought back. The WAV file stays.
    MStatus remove();
    MStatus restore();

private:
    MDGModifier removal_;
    bool made_ = false;
};

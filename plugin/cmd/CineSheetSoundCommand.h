#pragma once

#include "cmd/SoundImport.h"

#include <maya/MArgList.h>
#include <maya/MPxCommand.h>
#include <maya/MStatus.h>
#include <maya/MSyntax.h>

// "cineSheetSound <plane>": the sound of an existing plane's clip on the timeline, as
// "cineSheet -audio true" gives it to a new plane; the plane is named by its CineSheet shape
// or the shape's transform. The result is the audio node's name, empty when the clip has no
// sound (a warning says why). Undo removes the audio node; the WAV file stays.
class CineSheetSoundCommand : public MPxCommand {
public:
    MStatus doIt(const MArgList& args) override;
    MStatus undoIt() override;
    MStatus redoIt() override;
    bool isUndoable() const override;

    static void* creator();
    static MSyntax newSyntax();

private:
    SoundImport sound;
};

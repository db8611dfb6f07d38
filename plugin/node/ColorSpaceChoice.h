#pragma once

#include <maya/MStatus.h>

// "colorSpace" holds a field number, which names a space only in the session that gave it (see
// ColourConfiguration.h). So the chosen space's name is kept beside it, in "colorSpaceName":
// written for every node before the scene is saved, and read after a scene is read to put
// "colorSpace" back on the field of that name. A name the configuration in force does not know
// keeps a field of its own, so the node still says which space it was given; the draw shows it
// as stored and warns. "None" and "From File Rules" are the same in every session and are kept
// as no name. Both touch the scene's own nodes only, and only once the scene has been read
// (kAfterOpen, kAfterImport): the messages of the references a scene loads come while it is
// still being read, and a referenced node keeps what its file and the artist's edits give it.
// Everything here runs MEL and writes plugs: main thread only.

// Registers the scene callbacks that keep and restore the names, and the one that follows
// another colour configuration; removed by the second.
MStatus registerColorSpaceCallbacks();
void deregisterColorSpaceCallbacks();

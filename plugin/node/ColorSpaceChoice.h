#pragma once

#include <maya/MObject.h>
#include <maya/MStatus.h>
#include <maya/MString.h>

// "colorSpace" is an enumeration of the input spaces the configuration had when the plug-in was
// loaded, saved as the field's index; another configuration lists other spaces, or the same in
// another order. So the chosen space's name is kept beside it, in "colorSpaceName": written for
// every node before the scene is saved, and read after a scene is opened to put "colorSpace" back
// on the field of that name, or, when the configuration has no space of that name any more, on
// the space the colour management file rules give the node's file. Both touch the scene's own
// nodes only, and only once the scene has been read (kAfterOpen, kAfterImport): the messages of
// the references a scene loads come while it is still being read, and a referenced node keeps
// what its file and the artist's edits give it. Everything here runs MEL and writes plugs: main
// thread only.

// The input space the file rules give the file (colorManagementFileRules -evaluate); empty when
// colour management cannot say.
MString fileRulesSpace(const MString& file);

// Sets the node's "colorSpace" to the field of the space the file rules give the file; left as
// it is when no field has that name.
void applyFileRules(const MObject& node, const MString& file);

// Registers the scene callbacks that keep and restore the names; removed by the second.
MStatus registerColorSpaceCallbacks();
void deregisterColorSpaceCallbacks();

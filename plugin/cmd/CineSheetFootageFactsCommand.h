#pragma once

#include <maya/MArgList.h>
#include <maya/MPxCommand.h>
#include <maya/MStatus.h>
#include <maya/MSyntax.h>

// "cineSheetFootageFacts -file path -keyframeInterval n node": what a node's video worker learnt
// of its file, brought to the main thread through the idle queue and handed to the node as a
// hidden input its keyframeInterval output is computed from. "cineSheetFootageFacts
// -workspaceRoot root node" likewise hands over the project root its draw override found changed.
// Not an edit of the scene: nothing to undo, and the scene stays unmodified.
class CineSheetFootageFactsCommand : public MPxCommand {
public:
    MStatus doIt(const MArgList& args) override;
    bool isUndoable() const override { return false; }

    static void* creator();
    static MSyntax newSyntax();
};

// The command that tells the node at `nodePath` the keyframe interval of the video at `file`.
MString footageFactsCommand(const MString& nodePath, const MString& file, int keyframeInterval);
// The command that tells the node at `nodePath` the project root its relative paths are read from.
MString workspaceRootCommand(const MString& nodePath, const MString& root);

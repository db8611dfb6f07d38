#pragma once

#include <maya/MArgDatabase.h>
#include <maya/MArgList.h>
#include <maya/MDGModifier.h>
#include <maya/MDagModifier.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MObject.h>
#include <maya/MPxCommand.h>
#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MSyntax.h>

#include "cmd/SoundImport.h"

// "cineSheet": creates a CineSheet shape under a new transform, attaches it to a camera and the
// scene time, and makes the transform follow the node's placement matrix; with "-audio", the
// clip's sound goes on the timeline as an audio node; the clip's first picture lands on
// "-startFrame" (by default the playback range's start for a video), which ends the result.
// "cineSheet -edit" attaches a node to another camera and places its clip anew; "cineSheet
// -query" gives its camera, start frame and the clip's frame count, rate and start timecode.
// Creation and edits are undoable.
class CineSheetCommand : public MPxCommand {
public:
    ~CineSheetCommand() override;

    MStatus doIt(const MArgList& args) override;
    MStatus undoIt() override;
    // Creates (or re-creates after an undo), names and wires the nodes.
    MStatus redoIt() override;
    bool isUndoable() const override;

    static void* creator();
    static MSyntax newSyntax();

    // The camera shape named, or the first child of the named transform if that is a camera.
    MStatus getCamera(MString& name, MObject& camera);
    // Whatever node is named "time1".
    MStatus getTime(MObject& time);

private:
    // The wiring steps of redoIt, each queueing its connections on the given modifier and
    // carrying them out; each reports its own failure.
    MStatus connectCamera(MFnDependencyNode& shapeFn, MDGModifier& connections);
    MStatus connectTime(MFnDependencyNode& shapeFn, MDGModifier& connections);
    MStatus setFile(MFnDependencyNode& shapeFn);
    // The render resolution of "defaultResolution", into the node's resolution inputs.
    MStatus connectResolution(MFnDependencyNode& shapeFn, MDGModifier& connections);
    MStatus connectPlacement(MFnDependencyNode& shapeFn, MDGModifier& connections);
    // Locks the transform's translate, rotate and scale.
    MStatus lockTransform();
    // Where the new node's clip starts: decided before anything is made, set on every redo.
    MStatus chooseStart();
    MStatus setStart(MFnDependencyNode& shapeFn);
    // Queues the disconnection of every camera input the node has connected.
    MStatus detachCamera(MFnDependencyNode& shapeFn, MDGModifier& modifier);
    // "-edit" and "-query" of the node named (see CineSheetCommandEdit.cpp).
    MStatus editNode(const MArgDatabase& argData);
    MStatus queryNode(const MArgDatabase& argData);
    // The clip's sound as an audio node, with the audio node's name added to the result.
    void importSound();

    MObject transformNode;
    // Kept for the command's life so that undo and redo replay the same creation.
    MDagModifier dagModifier;
    MString cameraName;
    MString filePath;
    bool noTime = false;
    bool audio = false;
    // "-startFrame", and the frameOffset that puts the clip's first picture there (none when the
    // node gets no file or its first picture is unknown).
    bool startFrameGiven = false;
    int startFrame = 0;
    bool placesClip = false;
    int frameOffset = 0;
    // An edit's changes, taken back by undo and made again by redo.
    bool editing = false;
    MDGModifier editModifier;
    // A query changes nothing: it stays off the undo queue.
    bool querying = false;
    // The audio node made for "-audio", removed and brought back with the plane.
    SoundImport sound;
};

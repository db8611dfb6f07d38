#pragma once

#include <host/DrawRecording.h>
#include <host/Rendering.h>
#include <host/RgbaPicture.h>

#include <maya/MDagPath.h>
#include <maya/MObject.h>
#include <maya/MPxDrawOverride.h>
#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MUserData.h>

#include <cstddef>
#include <vector>

// The host's Viewport 2.0: draw overrides of the scene's nodes, refreshes and snapshots.
namespace host {

// One refresh on the calling thread (the host's drawing thread): for every visible path of
// every node a draw override creator draws, prepareForDraw and then addUIDrawables with the
// data it returned; a node's override is made the first time one of its paths is drawn. The
// camera path passed is the lookThru camera, or the given one.
MStatus refresh();
MStatus refresh(const MDagPath& camera);
std::size_t refreshCount();

// The camera refreshes look through: a camera shape or its transform. persp by default, and
// again when the chosen camera leaves the scene.
MStatus lookThru(const MString& camera);
MDagPath lookThroughCamera();
// The camera shape a name refers to (a camera shape or its transform).
MStatus findCamera(const MString& name, MDagPath& camera);

// The draw override the host made for the node (null when none, as before it is first drawn).
MHWRender::MPxDrawOverride* drawOverrideFor(const MObject& node);
std::size_t drawOverrideCount();
// Draw override objects in existence, whoever made them: one the host abandoned stays counted.
std::size_t drawOverridesAlive();
// The draw data the host keeps for a path of a node until the path's next prepareForDraw;
// for a node, its first path.
MUserData* keptDrawData(const MObject& node);
MUserData* keptDrawData(const MDagPath& path);
// Hands the next prepareForDraw of the node's first path this data instead (the host owns it;
// may be null or of a type the override does not know). The data kept before is deleted.
void replaceKeptDrawData(const MObject& node, MUserData* data);
// The calls addUIDrawables made for the path (the node's first) at the latest refresh; empty
// when that refresh did not draw it.
std::vector<DrawCall> latestDrawCalls(const MObject& node);
std::vector<DrawCall> latestDrawCalls(const MDagPath& path);
// The texture of the last setTexture call among them (null when none).
MHWRender::MTexture* latestTexture(const MObject& node);

// What the renderer needs of a camera; reads the DG (and so evaluates it).
MStatus readCameraView(const MDagPath& camera, CameraView& view);
// Width over height of the scene's render resolution (defaultResolution).
double renderAspect();
// defaultResolution's width and height.
void renderResolution(int& width, int& height);

// Refreshes through the camera and renders what was drawn, each path of a node placed by the
// world matrix of its transform on that path, the render frame filling the picture. The host's
// one-frame playblast: "playblasting" holds for its run.
MStatus snapshot(const MDagPath& camera, int width, int height, RgbaPicture& picture);

}  // namespace host

#pragma once

#include <maya/MObject.h>
#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MTime.h>

#include <vector>

// Host-side view of the scene for the host's own commands, the viewport and tests.
namespace host {

// Told about nodes entering and leaving the scene; the viewport keeps draw overrides with it.
class SceneObserver {
public:
    virtual ~SceneObserver() = default;
    // A node was created, or brought back by an undo.
    virtual void nodeAdded(const MObject& node) = 0;
    // A node is about to leave the scene (deleted, or removed by an undo); it is still valid.
    virtual void nodeRemoved(const MObject& node) = 0;
    // A node that stays gained or lost an instance (a DAG path), itself or through an ancestor.
    virtual void instancesChanged(const MObject&) {}
};

void addSceneObserver(SceneObserver* observer);
void removeSceneObserver(SceneObserver* observer);

// Empties the scene and builds the default one: time1, defaultResolution, the world and the
// persp, top, front and side cameras. Observers hear nodeRemoved for every node that goes.
void newScene();

// Every node in the scene (the world excluded), in creation order.
std::vector<MObject> sceneNodes();

// The draw classification the node's type was registered with ("" for none).
MString drawClassification(const MObject& node);

// The node a name refers to: a node name, or a DAG path such as "|persp|perspShape".
MStatus findNode(const MString& name, MObject& node);

// Whether the scene holds changes a user could save (file -q -modified): set when a plug is set
// by a command or through MPlug, a connection is made or broken, or a node is created, renamed,
// reparented or deleted, undo and redo included; cleared by newScene and by opening or saving a
// scene. Reading plugs, compute, drawing and changing the current time leave it alone.
bool sceneModified();
void setSceneModified(bool modified);

// The scene's current time, held by time1's "outTime". Setting it dirties what depends on it.
MTime currentTime();
MStatus setCurrentTime(const MTime& time);

}  // namespace host

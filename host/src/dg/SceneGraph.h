#pragma once

#include "dg/Connections.h"
#include "dg/Node.h"

#include <host/Scene.h>
#include <maya/MStatus.h>
#include <maya/MString.h>

#include <memory>
#include <vector>

namespace host {

// A parent's hold on a child: where the child is among the parent's children, and where the
// parent is among the child's parents (which numbers the child's instances).
struct DagLink {
    std::shared_ptr<Node> parent;
    std::shared_ptr<Node> child;
    int position = -1;
    int parentIndex = -1;
};

// What taking a node out of the scene undid, so that it can be put back as it was: the links
// cut, in the order they were cut, and the connections broken.
struct Removal {
    std::shared_ptr<Node> node;
    std::vector<DagLink> links;
    std::vector<Connection> connections;
};

// The scene: the world, every node in it, their names and the observers.
class SceneGraph {
public:
    // Builds the default scene on first use.
    static SceneGraph& instance();

    Node& world() { return *world_; }
    const std::vector<std::shared_ptr<Node>>& nodes() const { return nodes_; }
    // By name, or by DAG path ("|persp|perspShape"); null when nothing matches.
    Node* find(const MString& name) const;
    // The same, never looking into the namespace of a referenced file being read.
    Node* findExact(const MString& name) const;

    // A new node of the type outside the scene, its plug-in object made and post-constructed.
    static std::shared_ptr<Node> instantiate(const std::shared_ptr<NodeType>& type,
                                             const MString& name);
    // Puts the node and its DAG descendants into the scene, a DAG node under the parent (the
    // world when null) at the position (the end when negative). Names are made unique.
    MStatus enter(const std::shared_ptr<Node>& node, Node* parent, int position = -1);
    // Takes the node out with every instance of it, and the DAG descendants that have no
    // parent left, with every connection they have. A descendant also under a parent that
    // stays keeps that instance only.
    Removal leave(Node& node);
    // Undoes a leave.
    MStatus restore(const Removal& removal);
    // Moves a DAG node from one of its parents (the first when null) to another; the world
    // when newParent is null. Its other instances stay.
    MStatus reparent(Node& node, Node* newParent, int position = -1, Node* from = nullptr);
    // Makes a DAG node a child of one more parent (the world when null): a new instance.
    MStatus addInstance(Node& node, Node* parent, int position = -1);
    // Takes one parent's instance of a DAG node away; refused for its only parent.
    MStatus removeInstance(Node& node, Node& parent);
    // Applies "#" numbering and uniqueness; returns the name the node now has.
    MString rename(Node& node, const MString& requested);

    void addObserver(SceneObserver* observer);
    void removeObserver(SceneObserver* observer);
    void newScene();
    Node* timeNode() const { return timeNode_; }

    // Whether the scene holds changes a user could save; see host::sceneModified.
    bool modified() const { return modified_; }
    void setModified(bool modified) { modified_ = modified; }

private:
    SceneGraph();
    MString uniqueName(const MString& requested, const Node* self) const;
    void enterTree(const std::shared_ptr<Node>& node);
    void leaveTree(Node& node, std::vector<Connection>& connections);
    void announceInstancesChanged(Node& node);
    void buildDefaultScene();

    std::shared_ptr<Node> world_;
    std::vector<std::shared_ptr<Node>> nodes_;
    std::vector<SceneObserver*> observers_;
    Node* timeNode_ = nullptr;
    bool modified_ = false;
};

// Lower-case first letter: the default name stem of a type's nodes.
MString defaultNameStem(const MString& typeName);

}  // namespace host

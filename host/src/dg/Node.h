#pragma once

#include "dg/Entity.h"
#include "dg/NodeType.h"
#include "dg/Value.h"

#include <maya/MPxNode.h>
#include <maya/MStatus.h>
#include <maya/MString.h>

#include <map>
#include <memory>
#include <set>
#include <utility>
#include <vector>

namespace host {

class Node;

// One plug of a node: an attribute, and the logical index for an element of an array (-1 else).
struct PlugKey {
    const Attribute* attribute = nullptr;
    int index = -1;
    bool operator<(const PlugKey& other) const {
        return std::make_pair(attribute, index) < std::make_pair(other.attribute, other.index);
    }
    bool operator==(const PlugKey& other) const {
        return attribute == other.attribute && index == other.index;
    }
};

// A plug of some node, as an end of a connection.
struct PlugEnd {
    Node* node = nullptr;
    PlugKey key;
    bool operator==(const PlugEnd& other) const { return node == other.node && key == other.key; }
};

// The stored value of a plug; a dirty plug is evaluated before it is read.
struct Slot {
    Value value;
    bool dirty = false;
};

struct Incoming {
    PlugEnd source;
    // Order in which connections were made, for writing them back in that order.
    unsigned long serial = 0;
};

// A node of the dependency graph (and of the DAG for DAG types).
class Node : public Entity {
public:
    explicit Node(std::shared_ptr<NodeType> type);
    ~Node() override;

    MFn::Type apiType() const override;
    bool hasFn(MFn::Type type) const override;
    std::shared_ptr<Node> sharedFromThis();

    // The slot of a plug, made with the attribute's default value when first used.
    Slot& slot(const PlugKey& key);
    // The plug's value, pulled from its source or computed first when dirty.
    const Value& evaluate(const PlugKey& key);
    // Stores a value and dirties what depends on it. No connection check: see setPlugValue.
    void store(const PlugKey& key, const Value& value);
    // Marks the plug and everything downstream of it dirty.
    void markDirty(const PlugKey& key);
    // Element indices in use for an array attribute (stored, connected or evaluated).
    std::vector<int> elementIndices(const Attribute* attribute) const;
    const Incoming* incomingOf(const PlugKey& key) const;
    bool hasOutgoing(const PlugKey& key) const;
    bool isWorld() const;
    Node* firstParent() const { return parents.empty() ? nullptr : parents.front(); }

    std::shared_ptr<NodeType> type;
    MString name;
    std::unique_ptr<MPxNode> user;
    bool inScene = false;
    // Made by newScene: time1, defaultResolution and the default cameras.
    bool isDefault = false;
    unsigned long serial = 0;
    // An instanced node has several parents; the first is the one it was made under.
    std::vector<Node*> parents;
    std::vector<std::shared_ptr<Node>> children;
    // MFnDagNode::setInstanceable: false refuses new instances.
    bool instanceable = true;
    std::map<PlugKey, Slot> slots;
    std::map<PlugKey, Incoming> incoming;
    std::map<PlugKey, std::vector<PlugEnd>> outgoing;
    // Plugs locked with MPlug::setLocked or setAttr -lock.
    std::set<PlugKey> locked;
    // The reference node of the file the node was read from; empty for the scene's own nodes.
    std::weak_ptr<Node> reference;

private:
    using Visited = std::set<std::pair<const Node*, PlugKey>>;
    void dirty(const PlugKey& key, Visited& visited);
    void propagate(const PlugKey& key, Visited& visited);
    std::vector<PlugKey> keysOf(const Attribute* attribute, int index) const;
    void compute(const PlugKey& key);
    // The world matrix of one instance (DAG path) of the node.
    MMatrix worldMatrix(int instance);
    std::set<PlugKey> computing_;
};

// Sets a plug as a user would: refused on a connected destination and on a locked plug, clamped
// to the limits. The scene is then modified, whoever set it; values computed or pulled through
// connections are not.
MStatus setPlugValue(Node& node, const PlugKey& key, const Value& value);

// Whether the plug may not be set because it, a compound it belongs to or one of its children
// is locked.
bool isLockedForChange(const Node& node, const PlugKey& key);

}  // namespace host

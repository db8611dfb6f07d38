#include "dg/SceneGraph.h"

#include "dg/Access.h"

#include <algorithm>
#include <string>

namespace host {
namespace {

bool isDescendantOf(const Node* node, const Node* ancestor) {
    for (const Node* current = node; current; current = current->parent) {
        if (current == ancestor) {
            return true;
        }
    }
    return false;
}

void markWorldSpaceDirty(Node& node) {
    for (const auto& attribute : node.type->attributes) {
        if (attribute->worldSpace) {
            node.markDirty({attribute.get(), -1});
        }
    }
}

void detachFromParent(Node& node, std::shared_ptr<Node>* parent, int* position) {
    if (!node.parent) {
        return;
    }
    auto& siblings = node.parent->children;
    auto found = std::find_if(siblings.begin(), siblings.end(),
                              [&node](const auto& sibling) { return sibling.get() == &node; });
    if (parent) {
        *parent = node.parent->sharedFromThis();
    }
    if (position) {
        *position = static_cast<int>(found - siblings.begin());
    }
    if (found != siblings.end()) {
        siblings.erase(found);
    }
    node.parent = nullptr;
}

void attachToParent(const std::shared_ptr<Node>& node, Node& parent, int position) {
    auto& siblings = parent.children;
    const auto at = position < 0 || position > static_cast<int>(siblings.size())
                        ? siblings.end()
                        : siblings.begin() + position;
    siblings.insert(at, node);
    node->parent = &parent;
}

}  // namespace

SceneGraph& SceneGraph::instance() {
    // Never destroyed: plug-in objects of nodes must not outlive their libraries at exit.
    static SceneGraph* graph = new SceneGraph();
    if (!graph->world_) {
        graph->world_ = instantiate(TypeRegistry::instance().find("world"), "world");
        graph->world_->inScene = true;
        graph->buildDefaultScene();
        graph->modified_ = false;
    }
    return *graph;
}

SceneGraph::SceneGraph() = default;

Node* SceneGraph::find(const MString& name) const {
    std::string text = name.asChar();
    const auto bar = text.rfind('|');
    const std::string leaf = bar == std::string::npos ? text : text.substr(bar + 1);
    for (const auto& node : nodes_) {
        if (leaf == node->name.asChar()) {
            if (bar == std::string::npos) {
                return node.get();
            }
            // A path must name the node's ancestors, from the world when it starts with '|'.
            std::string path;
            for (const Node* current = node.get(); current && !current->isWorld();
                 current = current->parent) {
                path = "|" + std::string(current->name.asChar()) + path;
            }
            const bool matches =
                text[0] == '|'
                    ? path == text
                    : path.size() > text.size() && path.compare(path.size() - text.size() - 1,
                                                                text.size() + 1, "|" + text) == 0;
            return matches ? node.get() : nullptr;
        }
    }
    return nullptr;
}

std::shared_ptr<Node> SceneGraph::instantiate(const std::shared_ptr<NodeType>& type,
                                              const MString& name) {
    auto node = std::make_shared<Node>(type);
    node->name = name;
    type->instances.push_back(node);
    for (const auto& attribute : type->attributes) {
        // Every DAG node has one instance: element 0 of its world-space arrays.
        if (attribute->worldSpace && attribute->array) {
            node->slot({attribute.get(), 0});
        }
    }
    if (type->creator) {
        node->user.reset(static_cast<MPxNode*>(type->creator()));
        Access::bind(*node->user, node.get());
        node->user->postConstructor();
    }
    return node;
}

MStatus SceneGraph::enter(const std::shared_ptr<Node>& node, Node* parent, int position) {
    if (!node || node->inScene || node->isWorld()) {
        return MStatus::kFailure;
    }
    if (!node->type->isDag) {
        if (parent) {
            return MStatus::kInvalidParameter;
        }
        enterTree(node);
        return MStatus::kSuccess;
    }
    Node& target = parent ? *parent : *world_;
    if (!target.inScene || !target.type->isDag || target.hasFn(MFn::kShape)) {
        return MStatus::kInvalidParameter;
    }
    attachToParent(node, target, position);
    enterTree(node);
    markWorldSpaceDirty(*node);
    return MStatus::kSuccess;
}

void SceneGraph::enterTree(const std::shared_ptr<Node>& node) {
    modified_ = true;
    node->name = uniqueName(node->name, node.get());
    node->inScene = true;
    const auto at = std::upper_bound(
        nodes_.begin(), nodes_.end(), node,
        [](const auto& left, const auto& right) { return left->serial < right->serial; });
    nodes_.insert(at, node);
    for (SceneObserver* observer : std::vector<SceneObserver*>(observers_)) {
        observer->nodeAdded(Access::object(node));
    }
    for (const auto& child : std::vector<std::shared_ptr<Node>>(node->children)) {
        enterTree(child);
    }
}

Removal SceneGraph::leave(Node& node) {
    Removal removal;
    removal.node = node.sharedFromThis();
    leaveTree(node, removal.connections);
    detachFromParent(node, &removal.parent, &removal.position);
    return removal;
}

void SceneGraph::leaveTree(Node& node, std::vector<Connection>& connections) {
    modified_ = true;
    for (const auto& child : std::vector<std::shared_ptr<Node>>(node.children)) {
        leaveTree(*child, connections);
    }
    for (SceneObserver* observer : std::vector<SceneObserver*>(observers_)) {
        observer->nodeRemoved(Access::object(node.sharedFromThis()));
    }
    for (const Connection& connection : connectionsOf(node)) {
        disconnectPlugs(connection);
        connections.push_back(connection);
    }
    node.inScene = false;
    nodes_.erase(std::remove_if(nodes_.begin(), nodes_.end(),
                                [&node](const auto& each) { return each.get() == &node; }),
                 nodes_.end());
}

MStatus SceneGraph::restore(const Removal& removal) {
    Node* parent = removal.parent && !removal.parent->isWorld() ? removal.parent.get() : nullptr;
    MStatus status = enter(removal.node, parent, removal.position);
    if (!status) {
        return status;
    }
    for (const Connection& connection : removal.connections) {
        if (connection.sourceNode->inScene && connection.destinationNode->inScene &&
            !connection.destinationNode->incomingOf(connection.destination)) {
            linkPlugs(connection);
        }
    }
    return MStatus::kSuccess;
}

MStatus SceneGraph::reparent(Node& node, Node* newParent, int position) {
    Node& target = newParent ? *newParent : *world_;
    if (!node.inScene || !node.type->isDag || node.isWorld() || !target.inScene ||
        !target.type->isDag || target.hasFn(MFn::kShape) || isDescendantOf(&target, &node)) {
        return MStatus::kInvalidParameter;
    }
    modified_ = true;
    auto keep = node.sharedFromThis();
    detachFromParent(node, nullptr, nullptr);
    attachToParent(keep, target, position);
    markWorldSpaceDirty(node);
    return MStatus::kSuccess;
}

void SceneGraph::addObserver(SceneObserver* observer) {
    if (std::find(observers_.begin(), observers_.end(), observer) == observers_.end()) {
        observers_.push_back(observer);
    }
}

void SceneGraph::removeObserver(SceneObserver* observer) {
    observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

void SceneGraph::newScene() {
    while (!nodes_.empty()) {
        Node* top = nodes_.back().get();
        while (top->parent && !top->parent->isWorld()) {
            top = top->parent;
        }
        leave(*top);
    }
    timeNode_ = nullptr;
    buildDefaultScene();
    modified_ = false;
}

}  // namespace host

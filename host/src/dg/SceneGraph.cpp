#include "dg/SceneGraph.h"

#include "dg/Access.h"
#include "dg/DagPaths.h"
#include "references/ReferenceRead.h"

#include <algorithm>
#include <string>

namespace host {
namespace {

bool isDescendantOf(const Node* node, const Node* ancestor) {
    if (node == ancestor) {
        return true;
    }
    return std::any_of(node->parents.begin(), node->parents.end(),
                       [ancestor](const Node* parent) { return isDescendantOf(parent, ancestor); });
}

bool isChildOf(const Node& node, const Node& parent) {
    return std::find(node.parents.begin(), node.parents.end(), &parent) != node.parents.end();
}

// Cuts the parent's hold on the child; gives where the child was among the parent's children
// and where the parent was among the child's parents.
DagLink unlink(Node& parent, Node& child) {
    DagLink cut{parent.sharedFromThis(), child.sharedFromThis()};
    auto& siblings = parent.children;
    const auto found =
        std::find_if(siblings.begin(), siblings.end(),
                     [&child](const auto& sibling) { return sibling.get() == &child; });
    cut.position = static_cast<int>(found - siblings.begin());
    if (found != siblings.end()) {
        siblings.erase(found);
    }
    const auto place = std::find(child.parents.begin(), child.parents.end(), &parent);
    cut.parentIndex = static_cast<int>(place - child.parents.begin());
    if (place != child.parents.end()) {
        child.parents.erase(place);
    }
    return cut;
}

// The child's parents keep their order, which numbers its instances: a new parent goes last
// unless parentIndex says where.
void link(Node& parent, const std::shared_ptr<Node>& child, int position, int parentIndex = -1) {
    auto& siblings = parent.children;
    const auto at = position < 0 || position > static_cast<int>(siblings.size())
                        ? siblings.end()
                        : siblings.begin() + position;
    siblings.insert(at, child);
    auto& parents = child->parents;
    const auto place = parentIndex < 0 || parentIndex > static_cast<int>(parents.size())
                           ? parents.end()
                           : parents.begin() + parentIndex;
    parents.insert(place, &parent);
}

// The node and every descendant all of whose parents go with it, parents before children.
std::vector<Node*> goingWith(Node& node) {
    std::vector<Node*> going = {&node};
    for (bool grew = true; grew;) {
        grew = false;
        for (std::size_t i = 0; i < going.size(); ++i) {
            for (const auto& child : going[i]->children) {
                const bool counted =
                    std::find(going.begin(), going.end(), child.get()) != going.end();
                const bool orphaned =
                    std::all_of(child->parents.begin(), child->parents.end(), [&](Node* parent) {
                        return std::find(going.begin(), going.end(), parent) != going.end();
                    });
                if (!counted && orphaned) {
                    going.push_back(child.get());
                    grew = true;
                }
            }
        }
    }
    return going;
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
    if (const ReferenceRead* read = currentReferenceRead()) {
        if (Node* own = findExact(inNamespace(name.asChar(), read->nameSpace).c_str())) {
            return own;
        }
    }
    return findExact(name);
}

Node* SceneGraph::findExact(const MString& name) const {
    const std::string text = name.asChar();
    const auto bar = text.rfind('|');
    const std::string leaf = bar == std::string::npos ? text : text.substr(bar + 1);
    for (const auto& node : nodes_) {
        if (leaf == node->name.asChar()) {
            return instanceNamed(*node, text) >= 0 ? node.get() : nullptr;
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
    link(target, node, position);
    enterTree(node);
    instancesChanged(*node);
    return MStatus::kSuccess;
}

void SceneGraph::enterTree(const std::shared_ptr<Node>& node) {
    modified_ = true;
    if (const ReferenceRead* read = currentReferenceRead()) {
        node->name = inNamespace(node->name.asChar(), read->nameSpace).c_str();
        node->reference = read->referenceNode;
    }
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
        if (!child->inScene) {
            enterTree(child);
        }
    }
}

Removal SceneGraph::leave(Node& node) {
    Removal removal;
    removal.node = node.sharedFromThis();
    const std::vector<Node*> going = goingWith(node);
    const auto goes = [&going](const Node* each) {
        return std::find(going.begin(), going.end(), each) != going.end();
    };
    leaveTree(node, removal.connections);
    std::vector<Node*> keptChildren;
    for (Node* parent : std::vector<Node*>(node.parents)) {
        removal.links.push_back(unlink(*parent, node));
    }
    for (Node* each : going) {
        for (const auto& child : std::vector<std::shared_ptr<Node>>(each->children)) {
            if (!goes(child.get())) {
                removal.links.push_back(unlink(*each, *child));
                keptChildren.push_back(child.get());
            }
        }
    }
    for (Node* child : keptChildren) {
        instancesChanged(*child);
        announceInstancesChanged(*child);
    }
    return removal;
}

void SceneGraph::leaveTree(Node& node, std::vector<Connection>& connections) {
    modified_ = true;
    const std::vector<Node*> going = goingWith(node);
    for (auto each = going.rbegin(); each != going.rend(); ++each) {
        for (SceneObserver* observer : std::vector<SceneObserver*>(observers_)) {
            observer->nodeRemoved(Access::object((*each)->sharedFromThis()));
        }
    }
    for (Node* each : going) {
        for (const Connection& connection : connectionsOf(*each)) {
            disconnectPlugs(connection);
            connections.push_back(connection);
        }
        each->inScene = false;
        nodes_.erase(std::remove_if(nodes_.begin(), nodes_.end(),
                                    [each](const auto& node) { return node.get() == each; }),
                     nodes_.end());
    }
}

MStatus SceneGraph::restore(const Removal& removal) {
    if (!removal.node || removal.node->inScene) {
        return MStatus::kFailure;
    }
    for (const DagLink& cut : removal.links) {
        if (cut.child == removal.node && !cut.parent->inScene && !cut.parent->isWorld()) {
            return MStatus::kFailure;
        }
    }
    // Children that stayed take their instance back unless they have left the scene since.
    std::vector<Node*> keptChildren;
    for (auto cut = removal.links.rbegin(); cut != removal.links.rend(); ++cut) {
        if (cut->child == removal.node || cut->child->inScene) {
            link(*cut->parent, cut->child, cut->position, cut->parentIndex);
        }
        if (cut->child != removal.node && cut->child->inScene) {
            keptChildren.push_back(cut->child.get());
        }
    }
    enterTree(removal.node);
    instancesChanged(*removal.node);
    for (Node* child : keptChildren) {
        instancesChanged(*child);
        announceInstancesChanged(*child);
    }
    for (const Connection& connection : removal.connections) {
        if (connection.sourceNode->inScene && connection.destinationNode->inScene &&
            !connection.destinationNode->incomingOf(connection.destination)) {
            linkPlugs(connection);
        }
    }
    return MStatus::kSuccess;
}

MStatus SceneGraph::reparent(Node& node, Node* newParent, int position, Node* from) {
    Node& target = newParent ? *newParent : *world_;
    Node* source = from ? from : node.firstParent();
    if (!node.inScene || !node.type->isDag || node.isWorld() || !source ||
        !isChildOf(node, *source) || !target.inScene || !target.type->isDag ||
        target.hasFn(MFn::kShape) || isDescendantOf(&target, &node) ||
        (&target != source && isChildOf(node, target))) {
        return MStatus::kInvalidParameter;
    }
    modified_ = true;
    auto keep = node.sharedFromThis();
    const DagLink cut = unlink(*source, node);
    link(target, keep, position, cut.parentIndex);
    instancesChanged(node);
    announceInstancesChanged(node);
    return MStatus::kSuccess;
}

MStatus SceneGraph::addInstance(Node& node, Node* parent, int position) {
    Node& target = parent ? *parent : *world_;
    if (!node.inScene || !node.type->isDag || node.isWorld() || !node.instanceable ||
        !target.inScene || !target.type->isDag || target.hasFn(MFn::kShape) ||
        isDescendantOf(&target, &node) || isChildOf(node, target)) {
        return MStatus::kInvalidParameter;
    }
    modified_ = true;
    link(target, node.sharedFromThis(), position);
    instancesChanged(node);
    announceInstancesChanged(node);
    return MStatus::kSuccess;
}

MStatus SceneGraph::removeInstance(Node& node, Node& parent) {
    if (!node.inScene || !isChildOf(node, parent) || node.parents.size() < 2) {
        return MStatus::kInvalidParameter;
    }
    modified_ = true;
    unlink(parent, node);
    instancesChanged(node);
    announceInstancesChanged(node);
    return MStatus::kSuccess;
}

void SceneGraph::announceInstancesChanged(Node& node) {
    for (SceneObserver* observer : std::vector<SceneObserver*>(observers_)) {
        observer->instancesChanged(Access::object(node.sharedFromThis()));
    }
    for (const auto& child : std::vector<std::shared_ptr<Node>>(node.children)) {
        announceInstancesChanged(*child);
    }
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
        while (top->firstParent() && !top->firstParent()->isWorld()) {
            top = top->firstParent();
        }
        leave(*top);
    }
    timeNode_ = nullptr;
    buildDefaultScene();
    modified_ = false;
}

}  // namespace host

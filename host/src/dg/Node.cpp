#include "dg/Node.h"

#include "dg/Access.h"
#include "dg/ComputeScope.h"
#include "dg/DagPaths.h"
#include "dg/SceneGraph.h"
#include "references/ReferenceEdits.h"
#include "references/ReferenceRead.h"

#include <maya/MDataBlock.h>

#include <algorithm>

namespace host {
namespace {

unsigned long nextSerial() {
    static unsigned long serial = 0;
    return ++serial;
}

}  // namespace

Node::Node(std::shared_ptr<NodeType> nodeType) : type(std::move(nodeType)), serial(nextSerial()) {}

Node::~Node() = default;

MFn::Type Node::apiType() const {
    return type->fnTypes.empty() ? MFn::kDependencyNode : type->fnTypes.front();
}

bool Node::hasFn(MFn::Type fn) const {
    if (fn == MFn::kBase || fn == MFn::kNamedObject || fn == MFn::kDependencyNode) {
        return true;
    }
    return std::find(type->fnTypes.begin(), type->fnTypes.end(), fn) != type->fnTypes.end();
}

std::shared_ptr<Node> Node::sharedFromThis() {
    return std::static_pointer_cast<Node>(shared_from_this());
}

bool Node::isWorld() const {
    return hasFn(MFn::kWorld);
}

Slot& Node::slot(const PlugKey& key) {
    auto found = slots.find(key);
    if (found != slots.end()) {
        return found->second;
    }
    Slot& made = slots[key];
    made.value = key.attribute->defaultValue;
    made.dirty = type->isComputed(key.attribute) || incoming.count(key) != 0;
    return made;
}

const Incoming* Node::incomingOf(const PlugKey& key) const {
    auto found = incoming.find(key);
    return found == incoming.end() ? nullptr : &found->second;
}

bool Node::hasOutgoing(const PlugKey& key) const {
    auto found = outgoing.find(key);
    return found != outgoing.end() && !found->second.empty();
}

const Value& Node::evaluate(const PlugKey& key) {
    Slot* current = &slot(key);
    if (!current->dirty || computing_.count(key)) {
        return current->value;
    }
    if (const Incoming* in = incomingOf(key)) {
        const Value& source = in->source.node->evaluate(in->source.key);
        current->value = key.attribute->converted(source);
        current->dirty = false;
        return current->value;
    }
    computing_.insert(key);
    compute(key);
    computing_.erase(key);
    return slot(key).value;
}

void Node::compute(const PlugKey& key) {
    if (key.attribute->worldSpace) {
        Slot& target = slot(key);
        target.value = Value::ofMatrix(worldMatrix(std::max(key.index, 0)));
        target.dirty = false;
        return;
    }
    if (!user) {
        return;
    }
    MDataBlock block = Access::block(this);
    const MPlug plug = Access::plug(sharedFromThis(), key.attribute, key.index);
    const dg::ComputeScope computing(type->name);
    // kUnknownParameter, or a compute that does not set the plug clean, leaves the value alone.
    user->compute(plug, block);
}

MMatrix Node::worldMatrix(int instance) {
    MMatrix local;
    if (hasFn(MFn::kTransform)) {
        if (const Attribute* matrix = type->findAttribute("matrix")) {
            local = evaluate({matrix, -1}).matrix;
        }
        if (const Attribute* offset = type->findAttribute("offsetParentMatrix")) {
            local = local * evaluate({offset, -1}).matrix;
        }
    }
    Node* parent = nullptr;
    int parentInstance = 0;
    if (instanceOfParent(*this, instance, parent, parentInstance) && !parent->isWorld()) {
        if (const Attribute* parentWorld = parent->type->findAttribute("worldMatrix")) {
            return local * parent->evaluate({parentWorld, parentInstance}).matrix;
        }
    }
    return local;
}

void Node::store(const PlugKey& key, const Value& value) {
    Slot& target = slot(key);
    target.value = value;
    target.dirty = false;
    Visited visited;
    visited.insert({this, key});
    propagate(key, visited);
}

void Node::markDirty(const PlugKey& key) {
    Visited visited;
    dirty(key, visited);
}

std::vector<PlugKey> Node::keysOf(const Attribute* attribute, int index) const {
    if (!attribute->array || index >= 0) {
        return {{attribute, index}};
    }
    std::vector<PlugKey> keys;
    for (int element : elementIndices(attribute)) {
        keys.push_back({attribute, element});
    }
    return keys;
}

void Node::dirty(const PlugKey& key, Visited& visited) {
    for (const PlugKey& each : keysOf(key.attribute, key.index)) {
        if (!visited.insert({this, each}).second) {
            continue;
        }
        auto found = slots.find(each);
        if (found != slots.end()) {
            found->second.dirty = true;
        }
        for (const auto& child : each.attribute->children) {
            dirty({child.get(), -1}, visited);
        }
        propagate(each, visited);
    }
}

void Node::propagate(const PlugKey& key, Visited& visited) {
    auto out = outgoing.find(key);
    if (out != outgoing.end()) {
        // Copied: dirtying never changes connections, but keep iteration independent of it.
        const std::vector<PlugEnd> destinations = out->second;
        for (const PlugEnd& destination : destinations) {
            destination.node->dirty(destination.key, visited);
        }
    }
    for (const Attribute* affected : type->affectedBy(key.attribute)) {
        dirty({affected, -1}, visited);
    }
    if (key.attribute->worldSpace) {
        for (const auto& child : children) {
            for (const auto& attribute : child->type->attributes) {
                if (attribute->worldSpace) {
                    child->dirty({attribute.get(), -1}, visited);
                }
            }
        }
    }
}

std::vector<int> Node::elementIndices(const Attribute* attribute) const {
    std::set<int> indices;
    for (const auto& entry : slots) {
        if (entry.first.attribute == attribute && entry.first.index >= 0) {
            indices.insert(entry.first.index);
        }
    }
    for (const auto& entry : incoming) {
        if (entry.first.attribute == attribute && entry.first.index >= 0) {
            indices.insert(entry.first.index);
        }
    }
    for (const auto& entry : outgoing) {
        if (entry.first.attribute == attribute && entry.first.index >= 0 && !entry.second.empty()) {
            indices.insert(entry.first.index);
        }
    }
    return {indices.begin(), indices.end()};
}

MStatus setPlugValue(Node& node, const PlugKey& key, const Value& value) {
    if (!key.attribute || key.attribute->kind == Attribute::Kind::Compound ||
        (key.attribute->array && key.index < 0)) {
        return MStatus::kInvalidParameter;
    }
    if (node.incomingOf(key) || isLockedForChange(node, key)) {
        return MStatus::kFailure;
    }
    if (keepsSceneSetting(node)) {
        return MStatus::kSuccess;
    }
    Value stored = value;
    if (key.attribute->isNumberLike()) {
        if (value.kind != Value::Kind::Number && value.kind != Value::Kind::Time) {
            return MStatus::kInvalidParameter;
        }
        stored = key.attribute->fromNumber(value.asNumber(), true);
        if (value.kind == Value::Kind::Time && stored.kind == Value::Kind::Time &&
            !key.attribute->hasMin && !key.attribute->hasMax) {
            stored = value;
        }
    } else if (key.attribute->holdsText() != (value.kind == Value::Kind::Text) ||
               key.attribute->holdsMatrix() != (value.kind == Value::Kind::Matrix)) {
        return MStatus::kInvalidParameter;
    }
    node.store(key, stored);
    SceneGraph::instance().setModified(true);
    recordValueEdit(node, key);
    return MStatus::kSuccess;
}

namespace {

bool childLocked(const Node& node, const Attribute& attribute, int index) {
    for (const auto& child : attribute.children) {
        if (node.locked.count({child.get(), index}) || childLocked(node, *child, index)) {
            return true;
        }
    }
    return false;
}

}  // namespace

bool isLockedForChange(const Node& node, const PlugKey& key) {
    for (const Attribute* attribute = key.attribute; attribute; attribute = attribute->parent) {
        if (node.locked.count({attribute, key.index})) {
            return true;
        }
    }
    return key.attribute && childLocked(node, *key.attribute, key.index);
}

}  // namespace host

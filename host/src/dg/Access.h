#pragma once

#include "dg/Attribute.h"
#include "dg/Entity.h"

#include <maya/MDataBlock.h>
#include <maya/MDataHandle.h>
#include <maya/MEvaluationNode.h>
#include <maya/MObject.h>
#include <maya/MPlug.h>
#include <maya/MPxNode.h>

#include <memory>

namespace host {

class Node;
struct Slot;

// The host's way into the private parts of the API classes.
struct Access {
    static MObject object(std::shared_ptr<Entity> entity) {
        MObject result;
        result.entity_ = std::move(entity);
        return result;
    }
    static const std::shared_ptr<Entity>& entity(const MObject& object) { return object.entity_; }
    template <typename T>
    static std::shared_ptr<T> as(const MObject& object) {
        return std::dynamic_pointer_cast<T>(object.entity_);
    }

    static MPlug plug(std::shared_ptr<Node> node, const Attribute* attribute, int index) {
        MPlug result;
        result.node_ = std::move(node);
        result.attribute_ = attribute ? attribute->sharedFromThis() : nullptr;
        result.index_ = index;
        return result;
    }
    static const std::shared_ptr<Node>& node(const MPlug& plug) { return plug.node_; }
    static const Attribute* attribute(const MPlug& plug) { return plug.attribute_.get(); }
    static int index(const MPlug& plug) { return plug.index_; }

    static MDataBlock block(Node* node) {
        MDataBlock result;
        result.node_ = node;
        return result;
    }
    static Node* node(const MDataBlock& block) { return block.node_; }
    static MDataHandle handle(Node* node, const Attribute* attribute, Slot* slot, bool writable) {
        MDataHandle result;
        result.node_ = node;
        result.attribute_ = attribute;
        result.slot_ = slot;
        result.writable_ = writable;
        return result;
    }

    static MEvaluationNode evaluationNode(Node* node) { return MEvaluationNode(node); }
    static Node* node(const MEvaluationNode& evaluationNode) {
        return static_cast<Node*>(const_cast<void*>(evaluationNode.node_));
    }

    static void bind(MPxNode& user, Node* node) { user.hostNode_ = node; }
    static Node* node(const MPxNode& user) { return user.hostNode_; }
};

}  // namespace host

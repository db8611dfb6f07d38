#include <maya/MDataBlock.h>

#include "dg/Access.h"
#include "dg/Node.h"
#include "dg/StatusOut.h"

using host::Access;
using host::Attribute;
using host::Node;
using host::PlugKey;
using host::setStatus;

namespace {

// The key of a plug or attribute of this block's node; a null attribute when it is not.
PlugKey keyOf(Node* node, const MPlug& plug) {
    if (!node || Access::node(plug).get() != node) {
        return {};
    }
    return {Access::attribute(plug), Access::index(plug)};
}

PlugKey keyOf(Node* node, const MObject& attribute) {
    auto described = Access::as<Attribute>(attribute);
    if (!node || !described || !node->type->hasAttribute(described.get())) {
        return {};
    }
    return {described.get(), described->array ? 0 : -1};
}

MDataHandle handleFor(Node* node, const PlugKey& key, bool input, MStatus* status) {
    if (!key.attribute || key.attribute->kind == Attribute::Kind::Compound) {
        setStatus(status, MStatus::kInvalidParameter);
        return MDataHandle();
    }
    if (input) {
        node->evaluate(key);
    }
    setStatus(status, MStatus::kSuccess);
    return Access::handle(node, key.attribute, &node->slot(key), !input);
}

}  // namespace

MDataBlock::MDataBlock(const MDataBlock& other) = default;
MDataBlock& MDataBlock::operator=(const MDataBlock& other) = default;
MDataBlock::~MDataBlock() = default;

MDataHandle MDataBlock::inputValue(const MPlug& plug, MStatus* ReturnStatus) {
    return handleFor(node_, keyOf(node_, plug), true, ReturnStatus);
}

MDataHandle MDataBlock::inputValue(const MObject& attribute, MStatus* ReturnStatus) {
    return handleFor(node_, keyOf(node_, attribute), true, ReturnStatus);
}

MDataHandle MDataBlock::outputValue(const MPlug& plug, MStatus* ReturnStatus) {
    return handleFor(node_, keyOf(node_, plug), false, ReturnStatus);
}

MDataHandle MDataBlock::outputValue(const MObject& attribute, MStatus* ReturnStatus) {
    return handleFor(node_, keyOf(node_, attribute), false, ReturnStatus);
}

MStatus MDataBlock::setClean(const MPlug& plug) {
    const PlugKey key = keyOf(node_, plug);
    if (!key.attribute) {
        return MStatus::kInvalidParameter;
    }
    node_->slot(key).dirty = false;
    return MStatus::kSuccess;
}

MStatus MDataBlock::setClean(const MObject& attribute) {
    const PlugKey key = keyOf(node_, attribute);
    if (!key.attribute) {
        return MStatus::kInvalidParameter;
    }
    node_->slot(key).dirty = false;
    return MStatus::kSuccess;
}

bool MDataBlock::isClean(const MPlug& plug) {
    const PlugKey key = keyOf(node_, plug);
    return key.attribute && !node_->slot(key).dirty;
}

bool MDataBlock::isClean(const MObject& attribute, MStatus* ReturnStatus) {
    const PlugKey key = keyOf(node_, attribute);
    setStatus(ReturnStatus, key.attribute ? MStatus::kSuccess : MStatus::kInvalidParameter);
    return key.attribute && !node_->slot(key).dirty;
}

#include <maya/MDGModifier.h>
#include <maya/MFnDagNode.h>

#include "core/MainThreadOnly.h"
#include "dg/Access.h"
#include "dg/ModifierOperations.h"
#include "dg/StatusOut.h"

using host::Access;
using host::Connection;
using host::Node;
using host::setStatus;
using host::Value;

namespace {

// The connection between two plugs; null nodes when either plug is null.
Connection connectionOf(const MPlug& source, const MPlug& dest) {
    if (source.isNull() || dest.isNull()) {
        return {};
    }
    return {Access::node(source),
            {Access::attribute(source), Access::index(source)},
            Access::node(dest),
            {Access::attribute(dest), Access::index(dest)}};
}

MObject queueCreation(host::ModifierOperations& operations,
                      const std::shared_ptr<host::NodeType>& type, MStatus* status) {
    if (!type) {
        setStatus(status, MStatus::kInvalidParameter);
        return MObject();
    }
    host::CreatedNodes made = host::makeNodes(type, false);
    operations.add(host::createOperation(made, nullptr));
    setStatus(status, MStatus::kSuccess);
    return Access::object(made.top);
}

}  // namespace

MDGModifier::MDGModifier() : operations_(std::make_unique<host::ModifierOperations>()) {}

MDGModifier::~MDGModifier() = default;

MObject MDGModifier::createNode(const MTypeId& typeId, MStatus* ReturnStatus) {
    HOST_MAIN_THREAD_ONLY();
    return queueCreation(*operations_, host::creatableType(typeId), ReturnStatus);
}

MObject MDGModifier::createNode(const MString& type, MStatus* ReturnStatus) {
    HOST_MAIN_THREAD_ONLY();
    return queueCreation(*operations_, host::creatableType(type), ReturnStatus);
}

MStatus MDGModifier::deleteNode(const MObject& node) {
    HOST_MAIN_THREAD_ONLY();
    auto deleted = Access::as<Node>(node);
    if (!deleted || deleted->isWorld()) {
        return MStatus::kInvalidParameter;
    }
    operations_->add(host::deleteOperation(deleted));
    return MStatus::kSuccess;
}

// With includeParents, each parent transform left without other children goes too.
MStatus MDGModifier::deleteNode(const MObject& node, bool includeParents) {
    HOST_MAIN_THREAD_ONLY();
    MStatus status = deleteNode(node);
    MObject child = node;
    while (status && includeParents && child.hasFn(MFn::kDagNode)) {
        const MObject parent = MFnDagNode(child).parent(0);
        if (parent.isNull() || parent.hasFn(MFn::kWorld) || MFnDagNode(parent).childCount() != 1) {
            break;
        }
        status = deleteNode(parent);
        child = parent;
    }
    return status;
}

MStatus MDGModifier::renameNode(const MObject& node, const MString& newName) {
    HOST_MAIN_THREAD_ONLY();
    auto renamed = Access::as<Node>(node);
    if (!renamed || renamed->isWorld() || newName.length() == 0) {
        return MStatus::kInvalidParameter;
    }
    operations_->add(host::renameOperation(renamed, newName));
    return MStatus::kSuccess;
}

MStatus MDGModifier::connect(const MObject& sourceNode, const MObject& sourceAttr,
                             const MObject& destNode, const MObject& destAttr) {
    HOST_MAIN_THREAD_ONLY();
    return connect(MPlug(sourceNode, sourceAttr), MPlug(destNode, destAttr));
}

MStatus MDGModifier::connect(const MPlug& source, const MPlug& dest) {
    HOST_MAIN_THREAD_ONLY();
    const Connection connection = connectionOf(source, dest);
    if (!connection.sourceNode) {
        return MStatus::kInvalidParameter;
    }
    operations_->add(host::connectOperation(connection));
    return MStatus::kSuccess;
}

MStatus MDGModifier::disconnect(const MObject& sourceNode, const MObject& sourceAttr,
                                const MObject& destNode, const MObject& destAttr) {
    HOST_MAIN_THREAD_ONLY();
    return disconnect(MPlug(sourceNode, sourceAttr), MPlug(destNode, destAttr));
}

MStatus MDGModifier::disconnect(const MPlug& source, const MPlug& dest) {
    HOST_MAIN_THREAD_ONLY();
    const Connection connection = connectionOf(source, dest);
    if (!connection.sourceNode) {
        return MStatus::kInvalidParameter;
    }
    operations_->add(host::disconnectOperation(connection));
    return MStatus::kSuccess;
}

MStatus MDGModifier::newPlugValue(const MPlug& plug, MObject& plugValue) {
    HOST_MAIN_THREAD_ONLY();
    auto data = Access::as<host::Data>(plugValue);
    if (plug.isNull() || !data) {
        return MStatus::kInvalidParameter;
    }
    const Value value =
        data->hasFn(MFn::kMatrixData) ? Value::ofMatrix(data->matrix) : Value::ofText(data->text);
    operations_->add(host::setValueOperation(
        Access::node(plug), {Access::attribute(plug), Access::index(plug)}, value));
    return MStatus::kSuccess;
}

namespace {

MStatus queueValue(host::ModifierOperations& operations, const MPlug& plug, const Value& value) {
    if (plug.isNull()) {
        return MStatus::kInvalidParameter;
    }
    operations.add(host::setValueOperation(Access::node(plug),
                                           {Access::attribute(plug), Access::index(plug)}, value));
    return MStatus::kSuccess;
}

}  // namespace

MStatus MDGModifier::newPlugValueBool(const MPlug& plug, bool plugValue) {
    HOST_MAIN_THREAD_ONLY();
    return queueValue(*operations_, plug, Value::ofNumber(plugValue ? 1.0 : 0.0));
}

MStatus MDGModifier::newPlugValueChar(const MPlug& plug, char plugValue) {
    HOST_MAIN_THREAD_ONLY();
    return queueValue(*operations_, plug, Value::ofNumber(plugValue));
}

MStatus MDGModifier::newPlugValueDouble(const MPlug& plug, double plugValue) {
    HOST_MAIN_THREAD_ONLY();
    return queueValue(*operations_, plug, Value::ofNumber(plugValue));
}

MStatus MDGModifier::newPlugValueFloat(const MPlug& plug, float plugValue) {
    HOST_MAIN_THREAD_ONLY();
    return queueValue(*operations_, plug, Value::ofNumber(plugValue));
}

MStatus MDGModifier::newPlugValueInt(const MPlug& plug, int plugValue) {
    HOST_MAIN_THREAD_ONLY();
    return queueValue(*operations_, plug, Value::ofNumber(plugValue));
}

MStatus MDGModifier::newPlugValueShort(const MPlug& plug, short plugValue) {
    HOST_MAIN_THREAD_ONLY();
    return queueValue(*operations_, plug, Value::ofNumber(plugValue));
}

MStatus MDGModifier::newPlugValueString(const MPlug& plug, const MString& plugValue) {
    HOST_MAIN_THREAD_ONLY();
    return queueValue(*operations_, plug, Value::ofText(plugValue));
}

MStatus MDGModifier::newPlugValueMTime(const MPlug& plug, const MTime& plugValue) {
    HOST_MAIN_THREAD_ONLY();
    return queueValue(*operations_, plug, Value::ofTime(plugValue));
}

MStatus MDGModifier::doIt() {
    HOST_MAIN_THREAD_ONLY();
    return operations_->doIt();
}

MStatus MDGModifier::undoIt() {
    HOST_MAIN_THREAD_ONLY();
    return operations_->undoIt();
}

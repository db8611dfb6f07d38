#include <maya/MEvaluationNode.h>
#include <maya/MNodeCacheDisablingInfo.h>
#include <maya/MNodeCacheDisablingInfoHelper.h>

#include "dg/Access.h"
#include "dg/Node.h"

#include <algorithm>
#include <string>

// The strings Maya writes and what its tests return are not documented. Here the reason names
// the node, its type (or the category given) and the attribute, and a test returns true when it
// found the attribute unsafe, having disabled caching when given an info to fill.
using host::Access;
using host::Attribute;
using host::Node;

namespace {

std::string describe(const Node& node, const MString* nodeCategory) {
    const MString& kind = nodeCategory ? *nodeCategory : node.type->name;
    return std::string("\"") + node.name.asChar() + "\" (" + kind.asChar() + ")";
}

const Attribute* attributeOf(const Node& node, const MObject& attribute) {
    auto found = Access::as<Attribute>(attribute);
    return found && node.type->findAttribute(found->longName) == found.get() ? found.get()
                                                                             : nullptr;
}

bool connected(const Node& node, const Attribute* attribute, int index) {
    return node.incomingOf({attribute, index}) != nullptr;
}

bool animated(const MEvaluationNode& evaluationNode, const Attribute* attribute, int index,
              MNodeCacheDisablingInfoHelper::ConnectionTestFlag test) {
    const Node& node = *Access::node(evaluationNode);
    switch (test) {
        case MNodeCacheDisablingInfoHelper::kTestPlug:
            return connected(node, attribute, index);
        case MNodeCacheDisablingInfoHelper::kTestHierarchy:
            for (const Attribute* each = attribute; each; each = each->parent) {
                if (connected(node, each, each == attribute ? index : -1)) {
                    return true;
                }
            }
            return false;
        default:
            return evaluationNode.dirtyPlugExists(Access::object(attribute->sharedFromThis()));
    }
}

void monitor(MObjectArray& monitoredAttributes, const MObject& attribute) {
    for (unsigned int i = 0; i < monitoredAttributes.length(); ++i) {
        if (monitoredAttributes[i] == attribute) {
            return;
        }
    }
    monitoredAttributes.append(attribute);
}

void disable(MNodeCacheDisablingInfo* disablingInfo, const std::string& reason) {
    if (disablingInfo) {
        disablingInfo->setReason(reason.c_str());
        disablingInfo->setMitigation("Remove the animation or use a supported value");
    }
}

// The attribute's node when the evaluation node and the attribute belong together.
const Node* checkedNode(const MEvaluationNode& evaluationNode, const MObject& attribute,
                        MStatus* ReturnStatus) {
    const Node* node = Access::node(evaluationNode);
    const bool valid = node && attributeOf(*node, attribute);
    if (ReturnStatus) {
        *ReturnStatus = valid ? MStatus::kSuccess : MStatus::kInvalidParameter;
    }
    return valid ? node : nullptr;
}

bool testValue(MNodeCacheDisablingInfo* disablingInfo, MObjectArray& monitoredAttributes,
               const MEvaluationNode& evaluationNode, const MObject& attribute, bool supported,
               MNodeCacheDisablingInfoHelper::ConnectionTestFlag connectionTest,
               const MString* nodeCategory, const Node& node) {
    monitor(monitoredAttributes, attribute);
    const Attribute* found = attributeOf(node, attribute);
    const bool isAnimated = animated(evaluationNode, found, -1, connectionTest);
    if (!isAnimated && supported) {
        return false;
    }
    disable(disablingInfo, describe(node, nodeCategory) + ": attribute \"" +
                               found->longName.asChar() + "\" " +
                               (isAnimated ? "is animated" : "has an unsupported value"));
    return true;
}

}  // namespace

void MNodeCacheDisablingInfoHelper::setUnsafeNode(MNodeCacheDisablingInfo& disablingInfo,
                                                  const MEvaluationNode& node,
                                                  const MString* nodeCategory) {
    const Node* found = Access::node(node);
    disablingInfo.setReason(
        (describe(*found, nodeCategory) + ": the node is not safe to cache").c_str());
    disablingInfo.setMitigation("Remove the node from the animated part of the scene");
}

void MNodeCacheDisablingInfoHelper::setUnsafeValue(
    MNodeCacheDisablingInfo& disablingInfo, const MEvaluationNode& node, const MObject& attribute,
    const MString& attributeValue, const MString& supportedValue, const MString* nodeCategory) {
    const Node* found = Access::node(node);
    const Attribute* which = attributeOf(*found, attribute);
    disablingInfo.setReason((describe(*found, nodeCategory) + ": attribute \"" +
                             (which ? which->longName.asChar() : "") + "\" is \"" +
                             attributeValue.asChar() + "\"")
                                .c_str());
    disablingInfo.setMitigation(MString("Set it to \"") + supportedValue + "\"");
}

bool MNodeCacheDisablingInfoHelper::testAnimatedAttribute(
    MNodeCacheDisablingInfo* disablingInfo, MObjectArray& monitoredAttributes,
    const MEvaluationNode& node, const MPlug& plug, ConnectionTestFlag connectionTest,
    const MString* nodeCategory, MStatus* ReturnStatus) {
    const Node* found = checkedNode(node, plug.attribute(), ReturnStatus);
    if (!found || Access::node(plug).get() != found) {
        if (ReturnStatus) {
            *ReturnStatus = MStatus::kInvalidParameter;
        }
        return false;
    }
    monitor(monitoredAttributes, plug.attribute());
    if (!animated(node, Access::attribute(plug), Access::index(plug), connectionTest)) {
        return false;
    }
    disable(disablingInfo, describe(*found, nodeCategory) + ": attribute \"" +
                               Access::attribute(plug)->longName.asChar() + "\" is animated");
    return true;
}

bool MNodeCacheDisablingInfoHelper::testBooleanAttribute(
    MNodeCacheDisablingInfo* disablingInfo, MObjectArray& monitoredAttributes,
    const MEvaluationNode& node, const MObject& attribute, bool supportedValue,
    ConnectionTestFlag connectionTest, const MString* nodeCategory, MStatus* ReturnStatus) {
    const Node* found = checkedNode(node, attribute, ReturnStatus);
    if (!found) {
        return false;
    }
    const bool value = MPlug(node.dependencyNode(), attribute).asBool();
    return testValue(disablingInfo, monitoredAttributes, node, attribute, value == supportedValue,
                     connectionTest, nodeCategory, *found);
}

bool MNodeCacheDisablingInfoHelper::testEnumAttribute(
    MNodeCacheDisablingInfo* disablingInfo, MObjectArray& monitoredAttributes,
    const MEvaluationNode& node, const MObject& attribute, const short supportedValues[],
    int supportedValuesCount, ConnectionTestFlag connectionTest, const MString* nodeCategory,
    MStatus* ReturnStatus) {
    const Node* found = checkedNode(node, attribute, ReturnStatus);
    if (!found) {
        return false;
    }
    const short value = MPlug(node.dependencyNode(), attribute).asShort();
    const bool supported =
        supportedValues && std::find(supportedValues, supportedValues + supportedValuesCount,
                                     value) != supportedValues + supportedValuesCount;
    return testValue(disablingInfo, monitoredAttributes, node, attribute, supported, connectionTest,
                     nodeCategory, *found);
}

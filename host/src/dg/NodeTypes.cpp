#include <host/NodeTypes.h>

#include "dg/SceneGraph.h"

namespace host {
namespace {

// Function set types of a plug-in node of the kind, most specific first.
bool fnTypesOfKind(MPxNode::Type kind, std::vector<MFn::Type>& fnTypes) {
    switch (kind) {
        case MPxNode::kDependNode:
            fnTypes = {MFn::kPluginDependNode, MFn::kDependencyNode};
            return true;
        case MPxNode::kLocatorNode:
            fnTypes = {MFn::kPluginLocatorNode, MFn::kLocator, MFn::kShape, MFn::kDagNode,
                       MFn::kDependencyNode};
            return true;
        default:
            return false;
    }
}

}  // namespace

MStatus registerPluginNodeType(const PluginNodeType& description) {
    TypeRegistry& registry = TypeRegistry::instance();
    std::vector<MFn::Type> fnTypes;
    if (!description.creator || !fnTypesOfKind(description.kind, fnTypes)) {
        return MStatus::kInvalidParameter;
    }
    auto type = registry.derive(description.kind == MPxNode::kLocatorNode ? "locator" : "");
    type->name = description.name;
    type->id = description.id;
    type->creator = description.creator;
    type->classification = description.classification;
    type->pluginName = description.pluginName;
    type->fromPlugin = true;
    type->fnTypes = fnTypes;
    return registry.add(type, description.initialize);
}

MStatus deregisterPluginNodeType(const MTypeId& id) {
    TypeRegistry& registry = TypeRegistry::instance();
    auto type = registry.find(id);
    if (!type || !type->fromPlugin) {
        return MStatus::kFailure;
    }
    SceneGraph& scene = SceneGraph::instance();
    for (const auto& weak : type->instances) {
        if (auto node = weak.lock(); node && node->inScene) {
            scene.leave(*node);
        }
    }
    // Nodes kept alive outside the scene (by undo records) lose their plug-in objects now,
    // while the plug-in's code is still loaded.
    for (const auto& weak : type->instances) {
        if (auto node = weak.lock()) {
            node->user.reset();
        }
    }
    type->instances.clear();
    registry.remove(type);
    return MStatus::kSuccess;
}

bool nodeTypeFromPlugin(const MString& typeName, std::string* pluginName) {
    auto type = TypeRegistry::instance().find(typeName);
    if (!type || !type->fromPlugin) {
        return false;
    }
    if (pluginName) {
        *pluginName = type->pluginName;
    }
    return true;
}

}  // namespace host

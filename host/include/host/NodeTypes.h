#pragma once

#include <maya/MPxNode.h>
#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MTypeId.h>
#include <maya/MTypes.h>

#include <string>

// Registration of plug-in node types, called by MFnPlugin.
namespace host {

struct PluginNodeType {
    MString name;
    MTypeId id;
    MCreatorFunction creator = nullptr;
    MInitializeFunction initialize = nullptr;
    MPxNode::Type kind = MPxNode::kDependNode;
    MString classification;
    std::string pluginName;
};

// Fails with kFailure when the name or the id is taken; calls initialize() on success.
MStatus registerPluginNodeType(const PluginNodeType& type);
// Fails with kFailure when no type has this id. Nodes of the type are deleted first.
MStatus deregisterPluginNodeType(const MTypeId& id);
// Plug-ins whose node types are used by nodes of the scene (for "requires" in saved scenes).
bool nodeTypeFromPlugin(const MString& typeName, std::string* pluginName);

}  // namespace host

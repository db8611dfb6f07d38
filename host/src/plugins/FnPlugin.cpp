#include <host/NodeTypes.h>
#define MNoVersionString
#include <maya/MFnPlugin.h>

#include "commands/CommandTable.h"
#include "core/MainThreadOnly.h"
#include "plugins/PluginRegistry.h"

#include <algorithm>

namespace {

void setStatus(MStatus* status, MStatus value) {
    if (status) {
        *status = value;
    }
}

host::PluginRecord* recordOf(const MString& pluginName) {
    return host::PluginRegistry::instance().find(pluginName.asChar());
}

}  // namespace

MFnPlugin::MFnPlugin() : pluginName_(host::PluginRegistry::instance().active().c_str()) {}

// The function set belongs to the plug-in whose entry point is running. The identity given
// while the plug-in loads is the one the host keeps.
MFnPlugin::MFnPlugin(MObject&, const char* vendor, const char* version,
                     const char* requiredApiVersion, MStatus* ReturnStatus)
    : pluginName_(host::PluginRegistry::instance().active().c_str()),
      vendor_(vendor ? vendor : "Unknown"),
      version_(version ? version : "Unknown"),
      requiredApiVersion_(requiredApiVersion ? requiredApiVersion : "Any") {
    host::PluginRecord* record = recordOf(pluginName_);
    if (record && record->loading) {
        record->vendor = vendor_.asChar();
        record->version = version_.asChar();
    }
    setStatus(ReturnStatus, MStatus::kSuccess);
}

MFnPlugin::~MFnPlugin() = default;

// Maya's value of MFn::kPlugin is not known here, so the set reports the base type.
MFn::Type MFnPlugin::type() const {
    HOST_MAIN_THREAD_ONLY();
    return MFn::kBase;
}

MString MFnPlugin::vendor(MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    setStatus(ReturnStatus, MStatus::kSuccess);
    host::PluginRecord* record = recordOf(pluginName_);
    return record ? MString(record->vendor.c_str()) : vendor_;
}

MString MFnPlugin::version(MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    setStatus(ReturnStatus, MStatus::kSuccess);
    host::PluginRecord* record = recordOf(pluginName_);
    return record ? MString(record->version.c_str()) : version_;
}

MString MFnPlugin::apiVersion(MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    setStatus(ReturnStatus, MStatus::kSuccess);
    host::PluginRecord* record = recordOf(pluginName_);
    return record && !record->apiVersion.empty() ? MString(record->apiVersion.c_str())
                                                 : requiredApiVersion_;
}

MString MFnPlugin::name(MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    setStatus(ReturnStatus, MStatus::kSuccess);
    return pluginName_;
}

MString MFnPlugin::loadPath(MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    host::PluginRecord* record = recordOf(pluginName_);
    setStatus(ReturnStatus, record ? MStatus::kSuccess : MStatus::kFailure);
    if (!record) {
        return MString();
    }
    std::size_t slash = record->path.rfind('/');
    return MString(slash == std::string::npos ? "." : record->path.substr(0, slash).c_str());
}

MStatus MFnPlugin::setName(const MString& newName, bool) {
    HOST_MAIN_THREAD_ONLY();
    if (recordOf(pluginName_)) {
        return MStatus::kFailure;
    }
    pluginName_ = newName;
    return MStatus::kSuccess;
}

MStatus MFnPlugin::setVersion(const MString& newVersion) {
    HOST_MAIN_THREAD_ONLY();
    version_ = newVersion;
    if (host::PluginRecord* record = recordOf(pluginName_)) {
        record->version = newVersion.asChar();
    }
    return MStatus::kSuccess;
}

MStatus MFnPlugin::registerNode(const MString& typeName, const MTypeId& typeId,
                                MCreatorFunction creatorFunction, MInitializeFunction initFunction,
                                MPxNode::Type type, const MString* classification) {
    HOST_MAIN_THREAD_ONLY();
    host::PluginNodeType nodeType;
    nodeType.name = typeName;
    nodeType.id = typeId;
    nodeType.creator = creatorFunction;
    nodeType.initialize = initFunction;
    nodeType.kind = type;
    nodeType.classification = classification ? *classification : MString();
    nodeType.pluginName = pluginName_.asChar();
    MStatus status = host::registerPluginNodeType(nodeType);
    host::PluginRecord* record = recordOf(pluginName_);
    if (status && record) {
        record->nodeTypeIds.push_back(typeId);
        record->nodeTypeNames.push_back(typeName.asChar());
    }
    return status;
}

// A plug-in may only take back the node types it registered itself.
MStatus MFnPlugin::deregisterNode(const MTypeId& typeId) {
    HOST_MAIN_THREAD_ONLY();
    host::PluginRecord* record = recordOf(pluginName_);
    if (record == nullptr) {
        return host::deregisterPluginNodeType(typeId);
    }
    auto& ids = record->nodeTypeIds;
    const auto found = std::find(ids.begin(), ids.end(), typeId);
    if (found == ids.end()) {
        return MStatus::kFailure;
    }
    MStatus status = host::deregisterPluginNodeType(typeId);
    if (status) {
        record->nodeTypeNames.erase(record->nodeTypeNames.begin() + (found - ids.begin()));
        ids.erase(found);
    }
    return status;
}

MStatus MFnPlugin::registerCommand(const MString& commandName, MCreatorFunction creatorFunction,
                                   MCreateSyntaxFunction createSyntaxFunction) {
    HOST_MAIN_THREAD_ONLY();
    bool added = host::CommandTable::instance().add(
        {commandName.asChar(), creatorFunction, createSyntaxFunction, pluginName_.asChar(), false});
    return added ? MStatus::kSuccess : MStatus::kFailure;
}

MStatus MFnPlugin::deregisterCommand(const MString& commandName) {
    HOST_MAIN_THREAD_ONLY();
    std::optional<host::CommandEntry> entry =
        host::CommandTable::instance().find(commandName.asChar());
    if (!entry || entry->builtin || entry->plugin != pluginName_.asChar()) {
        return MStatus::kFailure;
    }
    host::CommandTable::instance().remove(commandName.asChar());
    return MStatus::kSuccess;
}

// Only kept here: the loader runs the procedures once initializePlugin has succeeded and
// before uninitializePlugin. Whether Maya checks that the procedures exist at this point is not
// documented; nothing is checked, and a missing one shows as an error when it would run.
MStatus MFnPlugin::registerUI(const MString& creationProc, const MString& deletionProc,
                              const MString& creationBatchProc, const MString& deletionBatchProc) {
    HOST_MAIN_THREAD_ONLY();
    host::PluginRecord* record = recordOf(pluginName_);
    if (!record) {
        return MStatus::kFailure;
    }
    record->uiCreation = creationProc.asChar();
    record->uiDeletion = deletionProc.asChar();
    record->uiBatchCreation = creationBatchProc.asChar();
    record->uiBatchDeletion = deletionBatchProc.asChar();
    return MStatus::kSuccess;
}

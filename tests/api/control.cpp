// Compiles against Maya's headers: the same flags must accept the snippets' valid parts.
#include <maya/MCacheSchema.h>
#include <maya/MEvaluationNode.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MNodeCacheDisablingInfo.h>
#include <maya/MNodeCacheDisablingInfoHelper.h>
#include <maya/MNodeCacheSetupInfo.h>
#include <maya/MObject.h>
#include <maya/MObjectArray.h>
#include <maya/MPxLocatorNode.h>
#include <maya/MTextureManager.h>

MStatus plugValue(const MObject& node) {
    MStatus status;
    MFnDependencyNode(node).findPlug("file", true, &status);
    return status;
}

MHWRender::MTexture* noTexture() {
    return nullptr;
}

class CachedLocator : public MPxLocatorNode {
public:
    void getCacheSetup(const MEvaluationNode& evalNode, MNodeCacheDisablingInfo& disablingInfo,
                       MNodeCacheSetupInfo& cacheSetupInfo,
                       MObjectArray& monitoredAttributes) const override {
        MPxNode::getCacheSetup(evalNode, disablingInfo, cacheSetupInfo, monitoredAttributes);
        cacheSetupInfo.setPreference(MNodeCacheSetupInfo::kWantToCacheByDefault, true);
        MNodeCacheDisablingInfoHelper::testBooleanAttribute(
            &disablingInfo, monitoredAttributes, evalNode, MObject(), false,
            MNodeCacheDisablingInfoHelper::kTestPlug);
    }
    void configCache(const MEvaluationNode& evalNode, MCacheSchema& schema) const override {
        MPxNode::configCache(evalNode, schema);
        schema.add(MObject());
    }
};

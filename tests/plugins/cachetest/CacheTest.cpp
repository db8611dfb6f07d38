// Locators for the Cached Playback tests: "cacheTestLocator" keeps the locator default (caching
// disabled), "cacheTestCachedLocator" asks to be cached and adds its input to the cache schema,
// "cacheTestGuardedLocator" asks too but disables caching while its "live" switch is on.
#include <maya/MCacheSchema.h>
#include <maya/MEvaluationNode.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MFnPlugin.h>
#include <maya/MNodeCacheDisablingInfo.h>
#include <maya/MNodeCacheDisablingInfoHelper.h>
#include <maya/MNodeCacheSetupInfo.h>
#include <maya/MObjectArray.h>
#include <maya/MPxLocatorNode.h>

namespace {

MStatus addInputs(MObject& offset, MObject* live) {
    MFnNumericAttribute numeric;
    offset = numeric.create("offset", "ofs", MFnNumericData::kDouble, 0.0);
    MStatus status = MPxNode::addAttribute(offset);
    if (status && live) {
        *live = numeric.create("live", "lv", MFnNumericData::kBoolean, 0);
        status = MPxNode::addAttribute(*live);
    }
    return status;
}

class PlainLocator : public MPxLocatorNode {
public:
    static void* creator() { return new PlainLocator; }
    static MStatus initialize() { return addInputs(offset, nullptr); }
    static MObject offset;
};
MObject PlainLocator::offset;

class CachedLocator : public MPxLocatorNode {
public:
    static void* creator() { return new CachedLocator; }
    static MStatus initialize() { return addInputs(offset, nullptr); }

    void getCacheSetup(const MEvaluationNode& evalNode, MNodeCacheDisablingInfo& disablingInfo,
                       MNodeCacheSetupInfo& cacheSetupInfo,
                       MObjectArray& monitoredAttributes) const override {
        MPxNode::getCacheSetup(evalNode, disablingInfo, cacheSetupInfo, monitoredAttributes);
        cacheSetupInfo.setPreference(MNodeCacheSetupInfo::kWantToCacheByDefault, true);
    }
    void configCache(const MEvaluationNode& evalNode, MCacheSchema& schema) const override {
        MPxNode::configCache(evalNode, schema);
        schema.add(offset);
    }

    static MObject offset;
};
MObject CachedLocator::offset;

class GuardedLocator : public MPxLocatorNode {
public:
    static void* creator() { return new GuardedLocator; }
    static MStatus initialize() { return addInputs(offset, &live); }

    void getCacheSetup(const MEvaluationNode& evalNode, MNodeCacheDisablingInfo& disablingInfo,
                       MNodeCacheSetupInfo& cacheSetupInfo,
                       MObjectArray& monitoredAttributes) const override {
        MPxNode::getCacheSetup(evalNode, disablingInfo, cacheSetupInfo, monitoredAttributes);
        cacheSetupInfo.setPreference(MNodeCacheSetupInfo::kWantToCacheByDefault, true);
        MNodeCacheDisablingInfoHelper::testBooleanAttribute(&disablingInfo, monitoredAttributes,
                                                            evalNode, live, false);
    }

    static MObject offset;
    static MObject live;
};
MObject GuardedLocator::offset;
MObject GuardedLocator::live;

const MTypeId kPlainId(0x7F0D1);
const MTypeId kCachedId(0x7F0D2);
const MTypeId kGuardedId(0x7F0D3);

}  // namespace

MStatus initializePlugin(MObject obj) {
    MFnPlugin plugin(obj, "CineSheet tests", "1.0", "Any");
    MStatus status = plugin.registerNode("cacheTestLocator", kPlainId, PlainLocator::creator,
                                         PlainLocator::initialize, MPxNode::kLocatorNode);
    if (status) {
        status = plugin.registerNode("cacheTestCachedLocator", kCachedId, CachedLocator::creator,
                                     CachedLocator::initialize, MPxNode::kLocatorNode);
    }
    if (status) {
        status = plugin.registerNode("cacheTestGuardedLocator", kGuardedId, GuardedLocator::creator,
                                     GuardedLocator::initialize, MPxNode::kLocatorNode);
    }
    return status;
}

MStatus uninitializePlugin(MObject obj) {
    MFnPlugin plugin(obj);
    MStatus status = plugin.deregisterNode(kGuardedId);
    if (status) {
        status = plugin.deregisterNode(kCachedId);
    }
    return status ? plugin.deregisterNode(kPlainId) : status;
}

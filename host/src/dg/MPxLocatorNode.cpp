#include <maya/MNodeCacheDisablingInfo.h>
#include <maya/MPxLocatorNode.h>
#include "core/MainThreadOnly.h"

MPxLocatorNode::MPxLocatorNode() = default;
MPxLocatorNode::~MPxLocatorNode() = default;

MPxNode::Type MPxLocatorNode::type() const {
    HOST_MAIN_THREAD_ONLY();
    return kLocatorNode;
}

bool MPxLocatorNode::isBounded() const {
    HOST_MAIN_THREAD_ONLY();
    return false;
}

MBoundingBox MPxLocatorNode::boundingBox() const {
    HOST_MAIN_THREAD_ONLY();
    return MBoundingBox();
}

bool MPxLocatorNode::excludeAsLocator() const {
    HOST_MAIN_THREAD_ONLY();
    return true;
}

bool MPxLocatorNode::isTransparent() const {
    HOST_MAIN_THREAD_ONLY();
    return false;
}

bool MPxLocatorNode::drawLast() const {
    HOST_MAIN_THREAD_ONLY();
    return false;
}

bool MPxLocatorNode::useClosestPointForSelection() const {
    HOST_MAIN_THREAD_ONLY();
    return false;
}

// Maya's own reason text is not documented; this one says what a user needs to know.
void MPxLocatorNode::getCacheSetup(const MEvaluationNode&, MNodeCacheDisablingInfo& disablingInfo,
                                   MNodeCacheSetupInfo&, MObjectArray&) const {
    disablingInfo.setReason(
        "plug-in locators do not support Cached Playback unless their type "
        "enables it");
}

#include <maya/MNodeCacheDisablingInfo.h>
#include <maya/MPxLocatorNode.h>

MPxLocatorNode::MPxLocatorNode() = default;
MPxLocatorNode::~MPxLocatorNode() = default;

MPxNode::Type MPxLocatorNode::type() const {
    return kLocatorNode;
}

bool MPxLocatorNode::isBounded() const {
    return false;
}

MBoundingBox MPxLocatorNode::boundingBox() const {
    return MBoundingBox();
}

bool MPxLocatorNode::excludeAsLocator() const {
    return true;
}

bool MPxLocatorNode::isTransparent() const {
    return false;
}

bool MPxLocatorNode::drawLast() const {
    return false;
}

bool MPxLocatorNode::useClosestPointForSelection() const {
    return false;
}

// Maya's own reason text is not documented; this one says what a user needs to know.
void MPxLocatorNode::getCacheSetup(const MEvaluationNode&, MNodeCacheDisablingInfo& disablingInfo,
                                   MNodeCacheSetupInfo&, MObjectArray&) const {
    disablingInfo.setReason(
        "plug-in locators do not support Cached Playback unless their type "
        "enables it");
}

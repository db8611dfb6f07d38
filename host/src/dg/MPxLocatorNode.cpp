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

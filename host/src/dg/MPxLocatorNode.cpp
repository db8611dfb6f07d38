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

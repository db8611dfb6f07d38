#pragma once

#include <maya/MApiNamespace.h>
#include <maya/MBoundingBox.h>
#include <maya/MPxNode.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

// Base class of locator shapes written by plug-ins. They sit in the DAG under a transform and
// are drawn by the viewport through draw overrides (no legacy drawing).
class MPxLocatorNode : public MPxNode {
public:
    MPxLocatorNode();
    ~MPxLocatorNode() override;

    MPxNode::Type type() const override;

    // Disables Cached Playback: a locator type that supports it says so by overriding this.
    OPENMAYA_AVAILABLE(2020)
    void getCacheSetup(const MEvaluationNode& evalNode, MNodeCacheDisablingInfo& disablingInfo,
                       MNodeCacheSetupInfo& cacheSetupInfo,
                       MObjectArray& monitoredAttributes) const override;

    virtual bool isBounded() const;
    // Used when isBounded() returns true; the default is an empty box.
    virtual MBoundingBox boundingBox() const;
    // Whether viewport filters that hide locators hide this node.
    virtual bool excludeAsLocator() const;
    virtual bool isTransparent() const;
    virtual bool drawLast() const;
    virtual bool useClosestPointForSelection() const;
};

OPENMAYA_NAMESPACE_CLOSE

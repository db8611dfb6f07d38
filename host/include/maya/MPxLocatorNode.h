#pragma once

#include <maya/MPxNode.h>

// Base class of locator shapes written by plug-ins. They sit in the DAG under a transform and
// are drawn by the viewport through draw overrides (no legacy drawing).
class MPxLocatorNode : public MPxNode {
public:
    MPxLocatorNode();
    ~MPxLocatorNode() override;

    MPxNode::Type type() const override;

    virtual bool isBounded() const;
    // Whether viewport filters that hide locators hide this node.
    virtual bool excludeAsLocator() const;
    virtual bool isTransparent() const;
    virtual bool drawLast() const;
    virtual bool useClosestPointForSelection() const;
};

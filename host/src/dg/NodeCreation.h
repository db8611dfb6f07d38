#pragma once

#include "dg/Node.h"

#include <maya/MObject.h>
#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MTypeId.h>

#include <memory>

namespace host {

// The nodes one creation request makes, outside the scene until entered.
struct CreatedNodes {
    // What enters the scene: the node, or the transform made for a shape.
    std::shared_ptr<Node> top;
    // The node of the requested type.
    std::shared_ptr<Node> node;
};

// Key of the transform type of hosts without "offsetParentMatrix".
inline constexpr const char* kTransformWithoutOffsetParentMatrix = "transformWithoutOpm";

// The type to make nodes of, by name or id; null for unknown and abstract types.
std::shared_ptr<NodeType> creatableType(const MString& name);
std::shared_ptr<NodeType> creatableType(const MTypeId& id);

// Makes a node of the type named "<type>#". A shape asked for without a parent also gets a
// transform "<type>#" above it, the shape being named "<type>Shape#".
CreatedNodes makeNodes(const std::shared_ptr<NodeType>& type, bool shapeHasParent);

// Makes nodes of the type as makeNodes does, names the requested one `name` when one is given,
// and enters them in the scene under parent (null: the world). target becomes the top node.
// A null type is kInvalidParameter.
MObject enterNewNodes(const std::shared_ptr<NodeType>& type, const MString* name, Node* parent,
                      MObject& target, MStatus* status);

// The DAG node an object names as a parent: null for the null object and the world.
MStatus parentNodeOf(const MObject& parent, Node** node);

}  // namespace host

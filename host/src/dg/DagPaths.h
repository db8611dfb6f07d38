#pragma once

#include "dg/Node.h"

#include <vector>

namespace host {

// The nodes of one way down from the world to a DAG node, the one right below the world first.
using NodePath = std::vector<Node*>;

// Every path to the node: a node under several parents, or under an instanced ancestor, is
// reached by several. Its instance number is the index here: the paths through its first
// parent come first, so an instance keeps its number when a later one is made.
std::vector<NodePath> pathsTo(Node& node);
int instanceCountOf(const Node& node);

// The parent that instance number `instance` of the node passes through, and that parent's
// instance number on the same path. False when the node has no such instance.
bool instanceOfParent(const Node& node, int instance, Node*& parent, int& parentInstance);

// After the node's parents changed: its world-space array elements and its descendants' are
// one per instance again, and dirty.
void instancesChanged(Node& node);

}  // namespace host

#pragma once

#include "dg/Node.h"

#include <maya/MStatus.h>

#include <memory>
#include <string>
#include <vector>

namespace host {

// A connection, holding both nodes alive (for undo records).
struct Connection {
    std::shared_ptr<Node> sourceNode;
    PlugKey source;
    std::shared_ptr<Node> destinationNode;
    PlugKey destination;
};

// Why the connection cannot be made, as the user is told; "" when it can.
std::string connectionProblem(const Connection& connection);
// Checks and makes the connection; kFailure (or kInvalidParameter for bad plugs) when refused.
MStatus connectPlugs(const Connection& connection);
// Makes the connection without checks (restoring one that existed).
void linkPlugs(const Connection& connection);
// Fails with kInvalidParameter when the plugs are not connected to each other.
MStatus disconnectPlugs(const Connection& connection);
// Every connection to or from the node.
std::vector<Connection> connectionsOf(Node& node);

}  // namespace host

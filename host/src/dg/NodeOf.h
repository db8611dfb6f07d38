#pragma once

#include "dg/Node.h"

#include <maya/MObject.h>
#include <maya/MStatus.h>

#include <memory>

namespace host {

// The node an object stands for; null, with kFailure in the optional status, when it is none.
std::shared_ptr<Node> nodeOf(const MObject& object, MStatus* status);

// The same for DAG nodes: any other node is none.
std::shared_ptr<Node> dagNodeOf(const MObject& object, MStatus* status);

}  // namespace host

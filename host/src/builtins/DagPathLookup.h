#pragma once

#include <maya/MDagPath.h>
#include <maya/MStatus.h>

#include <string>

namespace host::builtins {

// The DAG path a word names: a path ("|a|b", "a|b") names that instance, a node name its first
// path. A word naming nothing, or no DAG node, shows an error.
MStatus dagPathByName(const std::string& name, MDagPath& path);

}  // namespace host::builtins

#pragma once

#include <maya/MObject.h>

#include <string>
#include <vector>

// What Cached Playback would make of the scene. Nothing is cached: the stand-in only asks each
// animated node what Maya asks it, so that a node that would put caching into safe mode shows.
namespace host {

// One message for each animated node whose type does not ask to be cached, in creation order;
// empty when caching could go on. A node is animated when time1 reaches one of its inputs,
// directly or through other nodes, or when it sits below an animated DAG node.
std::vector<std::string> safeModeMessages();

// The long names of the attributes the node's configCache adds to its cache schema.
std::vector<std::string> cachedAttributes(const MObject& node);

}  // namespace host

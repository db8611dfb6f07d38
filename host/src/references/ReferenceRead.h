#pragma once

#include "dg/Node.h"

#include <memory>
#include <string>

namespace host {

// While one lives, the commands run are those of a referenced file: the nodes they make belong to
// the reference node and go into its namespace, and the names they use are looked up in that
// namespace first (a name found nowhere else, such as "defaultResolution", is the scene's own
// node, which Maya shares between a scene and its references). What they set and connect is the
// file's own content, not an edit.
class ReferenceReadScope {
public:
    ReferenceReadScope(std::shared_ptr<Node> referenceNode, std::string nameSpace);
    ~ReferenceReadScope();
    ReferenceReadScope(const ReferenceReadScope&) = delete;
    ReferenceReadScope& operator=(const ReferenceReadScope&) = delete;
};

struct ReferenceRead {
    std::shared_ptr<Node> referenceNode;
    std::string nameSpace;
};

// The innermost read under way; null when no referenced file is being read.
const ReferenceRead* currentReferenceRead();

// "node" or "|a|b" with each name that has no namespace put into it: "ns:node", "|ns:a|ns:b".
std::string inNamespace(const std::string& name, const std::string& nameSpace);

// Whether the node belongs to the referenced file now being read.
bool isBeingRead(const Node& node);

// Whether a value the referenced file being read sets on the node is not taken: the node is one
// of the default nodes the scene shares with the file (time1, defaultResolution, the default
// cameras). Maya does not document what a referenced file's values for them do; here they keep
// the referring scene's, so that a reference changes neither the current time nor the render
// settings. The file's connections to them are made.
bool keepsSceneSetting(const Node& node);

}  // namespace host

#pragma once

#include "dg/Connections.h"
#include "dg/Node.h"

#include <string>
#include <vector>

// Edits to referenced nodes: a plug set, or a connection made or broken, on a node read from a
// referenced file, after that file was loaded, is kept on its reference node as the MEL command
// that does it again. A later set of the same plug replaces the earlier one; breaking a
// connection that an edit made takes that edit away. Nothing the file's own commands do while it
// is read is an edit. Maya documents that a reference node keeps setAttr edits, connections and
// broken connections; how it merges several edits of one plug it does not say.
// https://download.autodesk.com/global/docs/maya2014/en_us/files/File_referencing_How_Maya_keeps_track_of_edits_to_file_references.htm
namespace host {

void recordValueEdit(Node& node, const PlugKey& key);
void recordConnectionEdit(const Connection& connection, bool connected);

// The reference node's edits, in the order they were first made.
std::vector<std::string> referenceEdits(Node& referenceNode);
// The same, taken off the node (to be applied, and so recorded, again).
std::vector<std::string> takeReferenceEdits(Node& referenceNode);
// Puts edits back after the ones the node has.
void appendReferenceEdits(Node& referenceNode, const std::vector<std::string>& edits);

}  // namespace host

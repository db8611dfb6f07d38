#pragma once

#include "dg/Node.h"

#include <maya/MObject.h>
#include <maya/MPxNode.h>
#include <maya/MStatus.h>

#include <memory>
#include <string>
#include <vector>

namespace host {

// Maya's "reference" node, named "<namespace>RN": one per referenced file. It keeps the edits
// made to the file's nodes after the file was loaded (setAttr, connectAttr, disconnectAttr),
// which the scene that refers to the file saves and which are applied again each time the file
// is loaded. Maya keeps them together in "edits", of type dataReferenceEdits, whose layout it
// does not document; here "edits" holds one MEL command per element.
// https://download.autodesk.com/global/docs/maya2014/en_us/Nodes/reference.html
class ReferenceNode : public MPxNode {
public:
    static void* creator();
    static MStatus initialize();
    static MObject aEdits;

    // As given to file -reference; written into the saved scene's file -r line.
    std::string fileName;
    std::string nameSpace;
};

// The node's reference node: the node itself for a reference node, the one of the file it was
// read from for a referenced node; null for the scene's own nodes.
std::shared_ptr<Node> referenceNodeOf(Node& node);
// The reference node's own part; null for other nodes.
ReferenceNode* referenceFacts(Node& node);
// Every reference node of the scene, in creation order.
std::vector<std::shared_ptr<Node>> referenceNodes();

}  // namespace host

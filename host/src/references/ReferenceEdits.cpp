#include "references/ReferenceEdits.h"

#include <host/PlugText.h>
#include <maya/MFnReference.h>

#include "builtins/BuiltinSupport.h"
#include "dg/Access.h"
#include "references/ReferenceNode.h"
#include "references/ReferenceRead.h"

#include <algorithm>
#include <memory>

namespace host {
namespace {

using builtins::scriptWord;

const Attribute* editsAttribute(Node& referenceNode) {
    return referenceNode.type->findAttribute("edits");
}

// The reference node that takes an edit of the node: none for the scene's own nodes, while the
// node's own file is read, and while edits are ignored.
std::shared_ptr<Node> editedReference(Node& node) {
    if (isBeingRead(node) || MFnReference::ignoreReferenceEdits()) {
        return nullptr;
    }
    return node.reference.lock();
}

std::string plugWord(const Node& node, const PlugKey& key) {
    std::string name = std::string(node.name.asChar()) + "." + key.attribute->longName.asChar();
    if (key.index >= 0) {
        name += "[" + std::to_string(key.index) + "]";
    }
    return scriptWord(name, true);
}

void storeEdits(Node& referenceNode, const std::vector<std::string>& edits) {
    const Attribute* attribute = editsAttribute(referenceNode);
    for (int index : referenceNode.elementIndices(attribute)) {
        referenceNode.slots.erase({attribute, index});
    }
    for (std::size_t i = 0; i < edits.size(); ++i) {
        referenceNode.store({attribute, static_cast<int>(i)}, Value::ofText(edits[i].c_str()));
    }
}

bool startsWith(const std::string& text, const std::string& head) {
    return text.compare(0, head.size(), head) == 0;
}

}  // namespace

void recordValueEdit(Node& node, const PlugKey& key) {
    const std::shared_ptr<Node> reference = editedReference(node);
    if (!reference) {
        return;
    }
    const SavedPlugValue saved =
        savedPlugValue(Access::plug(node.sharedFromThis(), key.attribute, key.index));
    std::string head = "setAttr ";
    if (!saved.typeFlag.empty()) {
        head += "-type " + scriptWord(saved.typeFlag, true) + " ";
    }
    head += plugWord(node, key) + " ";
    std::string edit = head;
    for (std::size_t i = 0; i < saved.values.size(); ++i) {
        edit += (i ? " " : "") + scriptWord(saved.values[i], saved.typeFlag == "string");
    }
    std::vector<std::string> edits = referenceEdits(*reference);
    bool replaced = false;
    for (std::string& earlier : edits) {
        if (startsWith(earlier, head)) {
            earlier = edit;
            replaced = true;
        }
    }
    if (!replaced) {
        edits.push_back(edit);
    }
    storeEdits(*reference, edits);
}

void recordConnectionEdit(const Connection& connection, bool connected) {
    std::shared_ptr<Node> reference = editedReference(*connection.destinationNode);
    if (!reference) {
        reference = editedReference(*connection.sourceNode);
    }
    if (!reference) {
        return;
    }
    const std::string ends = plugWord(*connection.sourceNode, connection.source) + " " +
                             plugWord(*connection.destinationNode, connection.destination);
    const std::string made = (connected ? "connectAttr " : "disconnectAttr ") + ends;
    const std::string undone = (connected ? "disconnectAttr " : "connectAttr ") + ends;
    std::vector<std::string> edits = referenceEdits(*reference);
    const auto earlier = std::find(edits.begin(), edits.end(), undone);
    if (earlier != edits.end()) {
        edits.erase(earlier);
    } else {
        edits.push_back(made);
    }
    storeEdits(*reference, edits);
}

std::vector<std::string> referenceEdits(Node& referenceNode) {
    std::vector<std::string> edits;
    const Attribute* attribute = editsAttribute(referenceNode);
    for (int index : referenceNode.elementIndices(attribute)) {
        edits.push_back(referenceNode.evaluate({attribute, index}).text.asChar());
    }
    return edits;
}

void appendReferenceEdits(Node& referenceNode, const std::vector<std::string>& edits) {
    std::vector<std::string> all = referenceEdits(referenceNode);
    all.insert(all.end(), edits.begin(), edits.end());
    storeEdits(referenceNode, all);
}

std::vector<std::string> takeReferenceEdits(Node& referenceNode) {
    std::vector<std::string> edits = referenceEdits(referenceNode);
    storeEdits(referenceNode, {});
    return edits;
}

}  // namespace host

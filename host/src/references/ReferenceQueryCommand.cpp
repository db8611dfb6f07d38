#include <host/Commands.h>
#include <maya/MStringArray.h>

#include "builtins/BuiltinSupport.h"
#include "dg/SceneGraph.h"
#include "references/ReferenceEdits.h"
#include "references/ReferenceNode.h"

#include <memory>
#include <string>
#include <vector>

// referenceQuery -isNodeReferenced / -filename / -referenceNode / -editStrings [target]
// (https://help.autodesk.com/cloudhelp/2023/ENU/Maya-Tech-Docs/Commands/referenceQuery.html).
// The target is a reference node, a referenced file's name or a referenced node. -editStrings
// gives the edits of a node target's own node, of every node of a file or reference node
// target, or, with no target, of every reference. Of the short names only -f and -rfn were
// retrieved, so the others are taken by their long names alone. A file is named as it was
// referenced; copy numbers ("{1}") are not modelled.
namespace host {
namespace {

using builtins::fail;

struct Target {
    std::shared_ptr<Node> referenceNode;
    // The referenced node named, when the target is one.
    Node* node = nullptr;
};

bool findTarget(const std::string& word, Target& target) {
    if (Node* node = SceneGraph::instance().find(word.c_str())) {
        target.referenceNode = referenceNodeOf(*node);
        target.node = referenceFacts(*node) ? nullptr : node;
        return true;
    }
    for (const std::shared_ptr<Node>& referenceNode : referenceNodes()) {
        if (referenceFacts(*referenceNode)->fileName == word) {
            target.referenceNode = referenceNode;
            return true;
        }
    }
    return false;
}

std::vector<std::string> editsOf(const Target& target) {
    std::vector<std::string> edits;
    const std::string named =
        target.node ? "\"" + std::string(target.node->name.asChar()) + "." : std::string();
    for (const std::shared_ptr<Node>& referenceNode : referenceNodes()) {
        if (target.referenceNode && referenceNode != target.referenceNode) {
            continue;
        }
        for (const std::string& edit : referenceEdits(*referenceNode)) {
            if (named.empty() || edit.find(named) != std::string::npos) {
                edits.push_back(edit);
            }
        }
    }
    return edits;
}

class ReferenceQueryCommand : public MPxCommand {
public:
    static MSyntax newSyntax() {
        MSyntax syntax = builtins::wordsSyntax(0, 1);
        syntax.addFlag("-isNodeReferenced", "-isNodeReferenced");
        syntax.addFlag("-f", "-filename");
        syntax.addFlag("-rfn", "-referenceNode");
        syntax.addFlag("-editStrings", "-editStrings");
        return syntax;
    }

    MStatus doIt(const MArgList& args) override {
        MArgDatabase parsed(syntax(), args);
        const std::vector<std::string> words = builtins::objectWords(parsed);
        Target target;
        if (!words.empty() && !findTarget(words.front(), target)) {
            return fail("referenceQuery: " + words.front() +
                        " is neither a node nor a referenced file");
        }
        if (parsed.isFlagSet("-editStrings")) {
            MStringArray edits;
            for (const std::string& edit : editsOf(target)) {
                edits.append(edit.c_str());
            }
            setResult(edits);
            return MStatus::kSuccess;
        }
        if (words.empty()) {
            return fail("referenceQuery: give a reference node, a referenced file or a node");
        }
        if (parsed.isFlagSet("-isNodeReferenced")) {
            setResult(target.node != nullptr && target.referenceNode != nullptr);
            return MStatus::kSuccess;
        }
        if (!target.referenceNode) {
            return fail("referenceQuery: " + words.front() + " is not from a referenced file");
        }
        if (parsed.isFlagSet("-filename")) {
            setResult(MString(referenceFacts(*target.referenceNode)->fileName.c_str()));
        } else if (parsed.isFlagSet("-referenceNode")) {
            setResult(target.referenceNode->name);
        } else {
            return fail(
                "referenceQuery: give -isNodeReferenced, -filename, -referenceNode or "
                "-editStrings");
        }
        return MStatus::kSuccess;
    }
};

const BuiltinCommandRegistrar referenceQueryCommand("referenceQuery",
                                                    builtins::create<ReferenceQueryCommand>,
                                                    ReferenceQueryCommand::newSyntax);

}  // namespace
}  // namespace host

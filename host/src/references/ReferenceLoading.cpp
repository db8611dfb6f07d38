#include "references/ReferenceLoading.h"

#include <host/Commands.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MSceneMessage.h>

#include "builtins/BuiltinSupport.h"
#include "dg/Access.h"
#include "dg/SceneGraph.h"
#include "messages/SceneMessages.h"
#include "references/FileReading.h"
#include "references/ReferenceEdits.h"
#include "references/ReferenceNode.h"
#include "references/ReferenceRead.h"

#include <fstream>
#include <sstream>
#include <vector>

namespace host {
namespace {

struct DeferredReference {
    std::string path;
    std::string nameSpace;
    std::string referenceNodeName;
};

std::vector<DeferredReference>& deferred() {
    static std::vector<DeferredReference> waiting;
    return waiting;
}

std::string fileStem(const std::string& path) {
    const auto slash = path.rfind('/');
    std::string stem = slash == std::string::npos ? path : path.substr(slash + 1);
    const auto dot = stem.find('.');
    return dot == std::string::npos || dot == 0 ? stem : stem.substr(0, dot);
}

bool namespaceInUse(const std::string& nameSpace) {
    const std::string prefix = nameSpace + ":";
    for (const auto& node : SceneGraph::instance().nodes()) {
        const std::string name = node->name.asChar();
        if (name == nameSpace + "RN" || name.compare(0, prefix.size(), prefix) == 0) {
            return true;
        }
    }
    return false;
}

std::string freeNamespace(const std::string& requested) {
    if (!namespaceInUse(requested)) {
        return requested;
    }
    for (unsigned long number = 1;; ++number) {
        const std::string candidate = requested + std::to_string(number);
        if (!namespaceInUse(candidate)) {
            return candidate;
        }
    }
}

std::shared_ptr<Node> makeReferenceNode(const std::string& name) {
    MStatus status;
    const MObject made = MFnDependencyNode().create("reference", name.c_str(), &status);
    return status ? Access::as<Node>(made) : nullptr;
}

// The file's commands run in the namespace, then the edits kept on the reference node run on
// what they made, and are so kept again. An edit that fails stays for the next load, as Maya
// keeps failed edits.
MStatus loadOnto(const std::shared_ptr<Node>& referenceNode, const std::string& path,
                 const std::string& nameSpace) {
    ReferenceNode* facts = referenceFacts(*referenceNode);
    facts->fileName = path;
    facts->nameSpace = nameSpace;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return builtins::fail("file -reference: cannot read " + path);
    }
    std::ostringstream text;
    text << in.rdbuf();

    const FileReadScope reading(true);
    sendSceneMessage(MSceneMessage::kBeforeFileRead);
    ScriptOptions options;
    options.recordUndo = false;
    const std::vector<std::string> edits = takeReferenceEdits(*referenceNode);
    MStatus read;
    {
        const ReferenceReadScope scope(referenceNode, nameSpace);
        read = runScript(text.str(), options);
    }
    std::vector<std::string> failed;
    for (const std::string& edit : edits) {
        if (!runScript(edit, options)) {
            failed.push_back(edit);
        }
    }
    appendReferenceEdits(*referenceNode, failed);
    sendSceneMessage(MSceneMessage::kAfterFileRead);
    return read ? MStatus::kSuccess
                : builtins::fail("file -reference: errors while reading " + path);
}

}  // namespace

MStatus createReference(const std::string& path, const std::string& nameSpace) {
    const std::string space = freeNamespace(nameSpace.empty() ? fileStem(path) : nameSpace);
    sendSceneMessage(MSceneMessage::kBeforeCreateReference);
    const std::shared_ptr<Node> referenceNode = makeReferenceNode(space + "RN");
    if (!referenceNode) {
        return builtins::fail("file -reference: the reference node could not be made");
    }
    const MStatus loaded = loadOnto(referenceNode, path, space);
    sendSceneMessage(MSceneMessage::kAfterCreateReference);
    return loaded;
}

void deferReference(const std::string& path, const std::string& nameSpace,
                    const std::string& referenceNodeName) {
    deferred().push_back({path, nameSpace, referenceNodeName});
}

MStatus loadDeferredReferences() {
    const std::vector<DeferredReference> waiting = deferred();
    deferred().clear();
    MStatus all = MStatus::kSuccess;
    for (const DeferredReference& reference : waiting) {
        Node* existing = SceneGraph::instance().findExact(reference.referenceNodeName.c_str());
        std::shared_ptr<Node> referenceNode = existing && referenceFacts(*existing)
                                                  ? existing->sharedFromThis()
                                                  : makeReferenceNode(reference.referenceNodeName);
        if (!referenceNode) {
            all = builtins::fail("file: no reference node " + reference.referenceNodeName);
            continue;
        }
        sendSceneMessage(MSceneMessage::kBeforeLoadReference);
        if (!loadOnto(referenceNode, reference.path, reference.nameSpace)) {
            all = MStatus::kFailure;
        }
        sendSceneMessage(MSceneMessage::kAfterLoadReference);
    }
    return all;
}

void forgetDeferredReferences() {
    deferred().clear();
}

}  // namespace host

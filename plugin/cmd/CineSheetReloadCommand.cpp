#include "cmd/CineSheetReloadCommand.h"

#include "node/CineSheet.h"
#include "node/RefreshRequest.h"

#include <maya/MArgDatabase.h>
#include <maya/MDagPath.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MObject.h>
#include <maya/MSelectionList.h>
#include <maya/MStringArray.h>

#include <memory>
#include <vector>

namespace {

// The CineSheet node a name stands for: the node itself, or the shape under a transform.
std::shared_ptr<MediaFacts> factsOfNamed(const MString& name) {
    MSelectionList list;
    if (!list.add(name)) {
        return nullptr;
    }
    MDagPath path;
    if (list.getDagPath(0, path) && path.extendToShape()) {
        return CineSheet::mediaFactsOf(path.node());
    }
    MObject node;
    return list.getDependNode(0, node) ? CineSheet::mediaFactsOf(node) : nullptr;
}

}  // namespace

void* CineSheetReloadCommand::creator() {
    return new CineSheetReloadCommand();
}

MSyntax CineSheetReloadCommand::newSyntax() {
    MSyntax syntax;
    syntax.setObjectType(MSyntax::kStringObjects, 1);
    return syntax;
}

MStatus CineSheetReloadCommand::doIt(const MArgList& args) {
    MStatus status;
    const MArgDatabase parsed(syntax(), args, &status);
    if (!status) {
        return status;
    }
    MStringArray names;
    parsed.getObjects(names);
    std::vector<std::shared_ptr<MediaFacts>> nodes;
    for (unsigned int i = 0; i < names.length(); ++i) {
        std::shared_ptr<MediaFacts> facts = factsOfNamed(names[i]);
        if (!facts) {
            displayError("cineSheetReload: " + names[i] + " is not a CineSheet node");
            return MStatus::kInvalidParameter;
        }
        nodes.push_back(std::move(facts));
    }
    for (const std::shared_ptr<MediaFacts>& facts : nodes) {
        facts->requestReload();
    }
    video::requestViewportRefresh();
    return MStatus::kSuccess;
}

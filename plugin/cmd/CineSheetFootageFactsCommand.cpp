#include "cmd/CineSheetFootageFactsCommand.h"

#include "node/CineSheet.h"
#include "node/MelString.h"

#include <maya/MArgDatabase.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MObject.h>
#include <maya/MPlug.h>
#include <maya/MSelectionList.h>
#include <maya/MStringArray.h>

#include <string>

namespace {

const char* const kCommandName = "cineSheetFootageFacts";
const char* const kFileFlag = "-f";
const char* const kFileFlagLong = "-file";
const char* const kIntervalFlag = "-ki";
const char* const kIntervalFlagLong = "-keyframeInterval";
const char* const kRootFlag = "-wr";
const char* const kRootFlagLong = "-workspaceRoot";

CineSheet* sheetNamed(const MString& name) {
    MSelectionList list;
    MObject node;
    if (!list.add(name) || !list.getDependNode(0, node)) {
        return nullptr;
    }
    MStatus status;
    const MFnDependencyNode nodeFn(node, &status);
    if (!status || nodeFn.typeId() != CineSheet::id) {
        return nullptr;
    }
    return dynamic_cast<CineSheet*>(nodeFn.userNode());
}

}  // namespace

void* CineSheetFootageFactsCommand::creator() {
    return new CineSheetFootageFactsCommand();
}

MSyntax CineSheetFootageFactsCommand::newSyntax() {
    MSyntax syntax;
    syntax.addFlag(kFileFlag, kFileFlagLong, MSyntax::kString);
    syntax.addFlag(kIntervalFlag, kIntervalFlagLong, MSyntax::kLong);
    syntax.addFlag(kRootFlag, kRootFlagLong, MSyntax::kString);
    syntax.setObjectType(MSyntax::kStringObjects, 1, 1);
    return syntax;
}

MStatus CineSheetFootageFactsCommand::doIt(const MArgList& args) {
    MStatus status;
    const MArgDatabase parsed(syntax(), args, &status);
    if (!status) {
        return status;
    }
    MStringArray names;
    parsed.getObjects(names);
    MString file;
    int interval = 0;
    MString root;
    const bool givesRoot = parsed.getFlagArgument(kRootFlag, 0, root) == MStatus::kSuccess;
    const bool givesInterval = parsed.getFlagArgument(kFileFlag, 0, file) &&
                               parsed.getFlagArgument(kIntervalFlag, 0, interval);
    if (names.length() != 1 || givesRoot == givesInterval) {
        displayError(MString(kCommandName) +
                     ": give -file and -keyframeInterval, or -workspaceRoot, and one node");
        return MStatus::kInvalidParameter;
    }
    // The node may have been deleted since the draw queued this: then there is nothing to tell.
    CineSheet* sheet = sheetNamed(names[0]);
    if (!sheet) {
        return MStatus::kSuccess;
    }
    if (givesRoot) {
        // The frame ratio is read under the root the node had before the new root makes it read
        // again: a root the file cannot be read from then leaves the ratio known, not the
        // default of a ratio never read.
        MPlug(sheet->thisMObject(), CineSheet::aFrameRatio).asDouble();
        sheet->learnWorkspaceRoot(root);
    } else {
        sheet->learnKeyframeInterval(file, interval);
    }
    return MStatus::kSuccess;
}

namespace {

// The commands are queued on the idle queue, which unloadPlugin -force does not empty: run after
// the command has gone, they would show Maya's error for an unknown procedure. So they call it
// only while it exists.
std::string whileLoaded(const std::string& command) {
    return std::string("if (`exists ") + kCommandName + "`) " + command + ";";
}

}  // namespace

MString footageFactsCommand(const MString& nodePath, const MString& file, int keyframeInterval) {
    const std::string command =
        std::string(kCommandName) + " " + kFileFlag + " " + melString(file.asChar()) + " " +
        kIntervalFlag + " " + std::to_string(keyframeInterval) + " " + melString(nodePath.asChar());
    return MString(whileLoaded(command).c_str());
}

MString workspaceRootCommand(const MString& nodePath, const MString& root) {
    const std::string command = std::string(kCommandName) + " " + kRootFlag + " " +
                                melString(root.asChar()) + " " + melString(nodePath.asChar());
    return MString(whileLoaded(command).c_str());
}

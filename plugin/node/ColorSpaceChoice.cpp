#include "node/ColorSpaceChoice.h"

#include "node/CineSheet.h"
#include "node/MelString.h"

#include <maya/MFnDependencyNode.h>
#include <maya/MFnEnumAttribute.h>
#include <maya/MGlobal.h>
#include <maya/MPlug.h>
#include <maya/MSceneMessage.h>
#include <maya/MSelectionList.h>
#include <maya/MStringArray.h>

#include <string>
#include <vector>

namespace {

std::vector<MCallbackId> callbackIds;

// The field of a space name; false when the configuration loaded with the plug-in has none.
bool fieldOf(const MString& name, short& field) {
    if (name.length() == 0) {
        return false;
    }
    MStatus status;
    field = MFnEnumAttribute(CineSheet::aColorSpace).fieldIndex(name, &status);
    return status == MStatus::kSuccess;
}

// The scene's own nodes. A referenced node is left as its file and the artist's edits have it:
// a plug set on it would be recorded as an edit of the reference and saved with the scene that
// refers to it, and would put back, on the next open, the space the artist's own edit changed.
std::vector<MObject> ownCineSheetNodes() {
    std::vector<MObject> nodes;
    MStringArray names;
    if (MGlobal::executeCommand(MString("ls -type ") + CineSheet::className, names, false, false) !=
        MStatus::kSuccess) {
        return nodes;
    }
    for (unsigned int i = 0; i < names.length(); ++i) {
        MSelectionList list;
        MObject node;
        if (list.add(names[i]) == MStatus::kSuccess &&
            list.getDependNode(0, node) == MStatus::kSuccess &&
            !MFnDependencyNode(node).isFromReferencedFile()) {
            nodes.push_back(node);
        }
    }
    return nodes;
}

// Before a save: each node's chosen space by name; "None" is kept as no name.
void recordNames(void*) {
    for (const MObject& node : ownCineSheetNodes()) {
        MPlug colorSpace(node, CineSheet::aColorSpace);
        MPlug nameKept(node, CineSheet::aColorSpaceName);
        const short field = colorSpace.asShort();
        const MString name =
            field == 0 ? MString() : MFnEnumAttribute(CineSheet::aColorSpace).fieldName(field);
        if (nameKept.asString() != name) {
            nameKept.setString(name);
        }
    }
}

// After a scene is read: the field of the name kept, else what the rules give the file. A node
// without a name (saved before names were kept, or with "None") keeps its field.
void restoreFields(void*) {
    for (const MObject& node : ownCineSheetNodes()) {
        const MString name = MPlug(node, CineSheet::aColorSpaceName).asString();
        if (name.length() == 0) {
            continue;
        }
        MPlug colorSpace(node, CineSheet::aColorSpace);
        short field = 0;
        if (fieldOf(name, field)) {
            if (colorSpace.asShort() != field) {
                colorSpace.setShort(field);
            }
            continue;
        }
        applyFileRules(node, MPlug(node, CineSheet::aFile).asString());
    }
}

}  // namespace

MString fileRulesSpace(const MString& file) {
    MString space;
    if (MGlobal::executeCommand(
            "colorManagementFileRules -evaluate " + MString(melString(file.asChar()).c_str()),
            space, false, false) != MStatus::kSuccess) {
        return MString();
    }
    return space;
}

void applyFileRules(const MObject& node, const MString& file) {
    short field = 0;
    if (fieldOf(fileRulesSpace(file), field)) {
        MPlug colorSpace(node, CineSheet::aColorSpace);
        if (colorSpace.asShort() != field) {
            colorSpace.setShort(field);
        }
    }
}

MStatus registerColorSpaceCallbacks() {
    const std::pair<MSceneMessage::Message, MMessage::MBasicFunction> callbacks[] = {
        {MSceneMessage::kBeforeSave, recordNames},
        {MSceneMessage::kBeforeExport, recordNames},
        {MSceneMessage::kAfterOpen, restoreFields},
        {MSceneMessage::kAfterImport, restoreFields},
    };
    for (const auto& [message, function] : callbacks) {
        MStatus status;
        const MCallbackId id = MSceneMessage::addCallback(message, function, nullptr, &status);
        if (status != MStatus::kSuccess) {
            deregisterColorSpaceCallbacks();
            return status;
        }
        callbackIds.push_back(id);
    }
    return MStatus::kSuccess;
}

void deregisterColorSpaceCallbacks() {
    for (MCallbackId id : callbackIds) {
        MMessage::removeCallback(id);
    }
    callbackIds.clear();
}

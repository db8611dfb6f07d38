#include "node/ColorSpaceChoice.h"

#include "node/CineSheet.h"
#include "node/ColourConfiguration.h"

#include <maya/MEventMessage.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MFnEnumAttribute.h>
#include <maya/MGlobal.h>
#include <maya/MPlug.h>
#include <maya/MSceneMessage.h>
#include <maya/MSelectionList.h>
#include <maya/MStringArray.h>

#include <vector>

namespace {

std::vector<MCallbackId> choiceCallbackIds;

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

// Before a save: each node's chosen space by name.
void recordNames(void*) {
    for (const MObject& node : ownCineSheetNodes()) {
        MPlug colorSpace(node, CineSheet::aColorSpace);
        MPlug nameKept(node, CineSheet::aColorSpaceName);
        const short field = colorSpace.asShort();
        const MString name = field > ColourConfiguration::kNoSpaceField
                                 ? MFnEnumAttribute(CineSheet::aColorSpace).fieldName(field)
                                 : MString();
        if (nameKept.asString() != name) {
            nameKept.setString(name);
        }
    }
}

// After a scene is read: the field of the name kept. A node without a name (saved before names
// were kept, or with "None" or the file rules) keeps its field.
void restoreFields(void*) {
    for (const MObject& node : ownCineSheetNodes()) {
        const MString name = MPlug(node, CineSheet::aColorSpaceName).asString();
        short field = 0;
        if (name.length() == 0 || !ColourConfiguration::instance().fieldOf(name, true, field)) {
            continue;
        }
        MPlug colorSpace(node, CineSheet::aColorSpace);
        if (colorSpace.asShort() != field) {
            colorSpace.setShort(field);
        }
    }
}

// Another configuration was loaded: its spaces become choices; the nodes keep theirs by name.
void followConfiguration(void*) {
    ColourConfiguration::instance().refresh(CineSheet::aColorSpace);
}

}  // namespace

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
        choiceCallbackIds.push_back(id);
    }
    MStatus status;
    const MCallbackId id = MEventMessage::addEventCallback("colorMgtConfigChanged",
                                                           followConfiguration, nullptr, &status);
    if (status != MStatus::kSuccess) {
        deregisterColorSpaceCallbacks();
        return status;
    }
    choiceCallbackIds.push_back(id);
    return MStatus::kSuccess;
}

void deregisterColorSpaceCallbacks() {
    for (MCallbackId id : choiceCallbackIds) {
        MMessage::removeCallback(id);
    }
    choiceCallbackIds.clear();
}

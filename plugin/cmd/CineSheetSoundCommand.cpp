#include "cmd/CineSheetSoundCommand.h"

#include "node/CineSheet.h"

#include <maya/MArgDatabase.h>
#include <maya/MFnDagNode.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MGlobal.h>
#include <maya/MSelectionList.h>
#include <maya/MStringArray.h>

namespace {

bool isCineSheet(const MObject& node) {
    return !node.isNull() && MFnDependencyNode(node).typeId() == CineSheet::id;
}

// The CineSheet shape named, or the first CineSheet shape under the named transform.
MObject cineSheetNamed(const MString& name) {
    MSelectionList list;
    MObject node;
    if (!list.add(name, false) || !list.getDependNode(0, node)) {
        return MObject::kNullObj;
    }
    if (isCineSheet(node)) {
        return node;
    }
    if (node.hasFn(MFn::kTransform)) {
        const MFnDagNode transformFn(node);
        for (unsigned int i = 0; i < transformFn.childCount(); ++i) {
            const MObject child = transformFn.child(i);
            if (isCineSheet(child)) {
                return child;
            }
        }
    }
    return MObject::kNullObj;
}

}  // namespace

void* CineSheetSoundCommand::creator() {
    return new CineSheetSoundCommand();
}

MSyntax CineSheetSoundCommand::newSyntax() {
    MSyntax syntax;
    syntax.setObjectType(MSyntax::kStringObjects, 1, 1);
    return syntax;
}

bool CineSheetSoundCommand::isUndoable() const {
    return true;
}

MStatus CineSheetSoundCommand::doIt(const MArgList& args) {
    MStatus status;
    const MArgDatabase argData(syntax(), args, &status);
    MStringArray objects;
    if (!status || !argData.getObjects(objects) || objects.length() != 1) {
        return MStatus::kFailure;
    }
    const MObject shape = cineSheetNamed(objects[0]);
    if (shape.isNull()) {
        MGlobal::displayError("cineSheetSound: \"" + objects[0] + "\" is not a CineSheet plane");
        return MStatus::kFailure;
    }
    setResult(sound.make(shape));
    return MStatus::kSuccess;
}

MStatus CineSheetSoundCommand::undoIt() {
    return sound.remove();
}

MStatus CineSheetSoundCommand::redoIt() {
    return sound.restore();
}

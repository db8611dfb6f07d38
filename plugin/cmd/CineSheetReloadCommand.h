#pragma once

#include <maya/MArgList.h>
#include <maya/MPxCommand.h>
#include <maya/MStatus.h>
#include <maya/MSyntax.h>

// "cineSheetReload node...": drops what the named CineSheet nodes (or the transforms above them)
// have loaded and cached and reads their files again at the next refresh, which it asks for: for
// footage rewritten in a way its file's size and times do not tell. Changes nothing in the scene,
// so there is nothing to undo.
class CineSheetReloadCommand : public MPxCommand {
public:
    MStatus doIt(const MArgList& args) override;
    bool isUndoable() const override { return false; }

    static void* creator();
    static MSyntax newSyntax();
};

#pragma once

#include <maya/MDGModifier.h>
#include <maya/MPxCommand.h>

#include <memory>

namespace host::builtins {

// A host command whose whole effect is one modifier's doIt, so undo and redo replay it.
class ModifierCommand : public MPxCommand {
public:
    bool isUndoable() const override { return true; }
    MStatus undoIt() override { return modifier_ ? modifier_->undoIt() : MStatus::kFailure; }
    MStatus redoIt() override { return modifier_ ? modifier_->doIt() : MStatus::kFailure; }

protected:
    std::unique_ptr<MDGModifier> modifier_;
};

}  // namespace host::builtins

#pragma once

#include <host/Messages.h>
#include <maya/MDGModifier.h>
#include <maya/MPxCommand.h>

#include "builtins/BuiltinSupport.h"

#include <memory>
#include <string>

namespace host::builtins {

// A host command whose whole effect is one modifier's doIt, so undo and redo replay it.
class ModifierCommand : public MPxCommand {
public:
    bool isUndoable() const override { return true; }
    MStatus undoIt() override { return modifier_ ? modifier_->undoIt() : MStatus::kFailure; }
    MStatus redoIt() override { return modifier_ ? modifier_->doIt() : MStatus::kFailure; }

protected:
    // Queues onto modifier_ with `queue`, then runs it. A failure that has not already shown
    // an error of its own shows `failure`.
    template <typename Queue>
    MStatus queueAndRun(Queue queue, const std::string& failure) {
        const int errorsBefore = messageCounts().errors;
        MStatus status = queue();
        if (status) {
            status = modifier_->doIt();
        }
        if (!status && messageCounts().errors == errorsBefore) {
            return fail(failure);
        }
        return status;
    }

    std::unique_ptr<MDGModifier> modifier_;
};

}  // namespace host::builtins

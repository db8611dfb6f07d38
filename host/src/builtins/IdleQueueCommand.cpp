#include <host/Commands.h>
#include <host/IdleQueue.h>

#include "builtins/BuiltinSupport.h"

// flushIdleQueue: runs the work queued on the idle queue now.
namespace host::builtins {
namespace {

class FlushIdleQueueCommand : public MPxCommand {
public:
    static MSyntax newSyntax() { return MSyntax(); }

    MStatus doIt(const MArgList& /*args*/) override {
        runIdleQueue();
        return MStatus::kSuccess;
    }
};

const BuiltinCommandRegistrar flushIdleQueueCommand("flushIdleQueue", create<FlushIdleQueueCommand>,
                                                    FlushIdleQueueCommand::newSyntax);

}  // namespace
}  // namespace host::builtins

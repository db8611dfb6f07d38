#include <host/Commands.h>

#include "builtins/BuiltinSupport.h"
#include "tasks/TaskPool.h"
#include "tasks/ThreadCount.h"

// threadCount: the number of threads the session's task pool runs tasks on.
//   threadCount -n 2;   threadCount -q -n;   threadCount -n 0 (one per logical processor)
// Maya documents only that the command sets the thread count used by multithreaded code. The
// stand-in applies it to the running pool at once, the reading under which a plug-in cannot
// count on the size it found when it started: a larger count starts waiting tasks, a smaller
// one interrupts nothing and starts no new task until fewer than the count run. The query
// answers the count in effect, so after -n 0 it gives the number of logical processors.
namespace host::builtins {
namespace {

class ThreadCountCommand : public MPxCommand {
public:
    static MSyntax newSyntax() {
        MSyntax syntax;
        syntax.addFlag("-n", "-numberOfThreads", MSyntax::kLong);
        syntax.enableQuery();
        return syntax;
    }

    MStatus doIt(const MArgList& args) override {
        MArgDatabase parsed(syntax(), args);
        if (!parsed.isFlagSet("-numberOfThreads")) {
            return fail("threadCount: give -numberOfThreads");
        }
        query_ = parsed.isQuery();
        if (query_) {
            setResult(static_cast<int>(TaskPool::instance().threadLimit()));
            return MStatus::kSuccess;
        }
        int count = 0;
        if (!parsed.getFlagArgument("-numberOfThreads", 0, count) || count < 0) {
            return fail("threadCount: the number of threads must be 0 or more");
        }
        previous_ = TaskPool::instance().threadLimit();
        wanted_ = count == 0 ? logicalCores() : static_cast<std::size_t>(count);
        return redoIt();
    }

    bool isUndoable() const override { return !query_; }
    MStatus undoIt() override {
        TaskPool::instance().setThreadLimit(previous_);
        return MStatus::kSuccess;
    }
    MStatus redoIt() override {
        TaskPool::instance().setThreadLimit(wanted_);
        return MStatus::kSuccess;
    }

private:
    bool query_ = false;
    std::size_t previous_ = 0;
    std::size_t wanted_ = 0;
};

const BuiltinCommandRegistrar threadCountCommand("threadCount", create<ThreadCountCommand>,
                                                 ThreadCountCommand::newSyntax);

}  // namespace
}  // namespace host::builtins

#include <host/Commands.h>
#include <host/IdleQueue.h>
#include <host/Playback.h>
#include <host/Viewport.h>

#include <maya/MArgDatabase.h>
#include <maya/MPxCommand.h>

// Host only, for tests and benchmarks: what the viewport did.
//   viewportStats -q -longestDrawMs;   the longest time one refresh spent in plug-in draw code
//                                      since the last reset
//   viewportStats -resetDrawTiming;
//   viewportStats -q -refreshes;       refreshes so far
//   viewportStats -q -idleQueueLength; work waiting on the idle queue
//   viewportStats -q -framesDrawn;     what the latest playback drew,
//   viewportStats -q -framesSkipped;   and skipped
namespace host {
namespace {

class ViewportStatsCommand : public MPxCommand {
public:
    static void* creator() { return new ViewportStatsCommand; }
    static MSyntax newSyntax() {
        MSyntax syntax;
        syntax.addFlag("-ldm", "-longestDrawMs");
        syntax.addFlag("-rdt", "-resetDrawTiming");
        syntax.addFlag("-r", "-refreshes");
        syntax.addFlag("-iql", "-idleQueueLength");
        syntax.addFlag("-fd", "-framesDrawn");
        syntax.addFlag("-fs", "-framesSkipped");
        syntax.enableQuery();
        return syntax;
    }

    MStatus doIt(const MArgList& args) override {
        MArgDatabase parsed(syntax(), args);
        if (!parsed.isQuery()) {
            if (parsed.isFlagSet("-resetDrawTiming")) {
                resetDrawTiming();
            }
            return MStatus::kSuccess;
        }
        if (parsed.isFlagSet("-longestDrawMs")) {
            setResult(longestDrawMilliseconds());
        } else if (parsed.isFlagSet("-refreshes")) {
            setResult(static_cast<int>(refreshCount()));
        } else if (parsed.isFlagSet("-idleQueueLength")) {
            setResult(static_cast<int>(idleQueueLength()));
        } else if (parsed.isFlagSet("-framesDrawn")) {
            setResult(latestPlayback().drawn);
        } else if (parsed.isFlagSet("-framesSkipped")) {
            setResult(latestPlayback().skipped);
        } else {
            displayError("viewportStats: give the figure to query");
            return MStatus::kFailure;
        }
        return MStatus::kSuccess;
    }
};

const BuiltinCommandRegistrar viewportStatsCommand("viewportStats", ViewportStatsCommand::creator,
                                                   ViewportStatsCommand::newSyntax);

}  // namespace
}  // namespace host

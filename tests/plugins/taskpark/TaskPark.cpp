// Nodes that run work on MThreadAsync tasks, for the host's task pool tests.
// Each "parkedTaskNode" starts one task that stays on its thread until the node is deleted,
// the way a background worker parked for a node's whole life does; deleting the node waits
// for its task to end. Each "endingTaskNode" starts one task that ends at once.
// "taskParkStats [-wait seconds]" returns {tasks started, tasks ended} of the nodes made since
// the plug-in was loaded; with -wait it first waits, at most that long, until all have started.
#include <maya/MArgDatabase.h>
#include <maya/MFnPlugin.h>
#include <maya/MIntArray.h>
#include <maya/MPxCommand.h>
#include <maya/MPxNode.h>
#include <maya/MSyntax.h>
#include <maya/MThreadAsync.h>

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace {

struct Counts {
    std::mutex mutex;
    std::condition_variable changed;
    int created = 0;
    int started = 0;
    int ended = 0;
};

Counts counts;

// One node's task: started, told to stop, ended.
struct TaskState {
    std::mutex mutex;
    std::condition_variable changed;
    bool parks = false;
    bool stop = false;
    bool ended = false;
};

void count(int Counts::*field) {
    std::lock_guard<std::mutex> lock(counts.mutex);
    ++(counts.*field);
    counts.changed.notify_all();
}

MThreadRetVal runTask(void* data) {
    auto* state = static_cast<TaskState*>(data);
    count(&Counts::started);
    std::unique_lock<std::mutex> lock(state->mutex);
    state->changed.wait(lock, [state] { return !state->parks || state->stop; });
    return nullptr;
}

void taskEnded(void* data) {
    auto* state = static_cast<TaskState*>(data);
    {
        std::lock_guard<std::mutex> lock(state->mutex);
        state->ended = true;
        state->changed.notify_all();
    }
    count(&Counts::ended);
}

class TaskNode : public MPxNode {
public:
    explicit TaskNode(bool parks) {
        state_.parks = parks;
        count(&Counts::created);
        MThreadAsync::createTask(runTask, &state_, taskEnded, nullptr);
    }
    // Waits for the task's end, however long that takes.
    ~TaskNode() override {
        std::unique_lock<std::mutex> lock(state_.mutex);
        state_.stop = true;
        state_.changed.notify_all();
        state_.changed.wait(lock, [this] { return state_.ended; });
    }

    static MStatus initialize() { return MStatus::kSuccess; }

private:
    TaskState state_;
};

void* createParked() {
    return new TaskNode(true);
}
void* createEnding() {
    return new TaskNode(false);
}

class StatsCommand : public MPxCommand {
public:
    static void* creator() { return new StatsCommand; }
    static MSyntax newSyntax() {
        MSyntax syntax;
        syntax.addFlag("-w", "-wait", MSyntax::kDouble);
        return syntax;
    }

    MStatus doIt(const MArgList& args) override {
        MArgDatabase parsed(syntax(), args);
        double seconds = 0.0;
        parsed.getFlagArgument("-wait", 0, seconds);
        std::unique_lock<std::mutex> lock(counts.mutex);
        counts.changed.wait_for(lock, std::chrono::duration<double>(seconds),
                                [] { return counts.started == counts.created; });
        MIntArray result;
        result.append(counts.started);
        result.append(counts.ended);
        setResult(result);
        return MStatus::kSuccess;
    }
};

const MTypeId kParkedId(0x7F0C2);
const MTypeId kEndingId(0x7F0C3);

}  // namespace

MStatus initializePlugin(MObject obj) {
    MFnPlugin plugin(obj, "CineSheet tests", "1.0", "Any");
    MStatus status = MThreadAsync::init();
    if (status) {
        status =
            plugin.registerNode("parkedTaskNode", kParkedId, createParked, TaskNode::initialize);
    }
    if (status) {
        status =
            plugin.registerNode("endingTaskNode", kEndingId, createEnding, TaskNode::initialize);
    }
    return status ? plugin.registerCommand("taskParkStats", StatsCommand::creator,
                                           StatsCommand::newSyntax)
                  : status;
}

MStatus uninitializePlugin(MObject obj) {
    MFnPlugin plugin(obj);
    plugin.deregisterCommand("taskParkStats");
    plugin.deregisterNode(kEndingId);
    plugin.deregisterNode(kParkedId);
    MThreadAsync::release();
    return MStatus::kSuccess;
}

// Commands that do their work on a thread of their own, for the host's threading tests. Each
// starts a std::thread, lets it do one thing and waits for it before returning:
//   offThreadIdle "command"      the thread queues the command with executeCommandOnIdle
//   offThreadGetAttr node.attr   the thread reads the plug's value (as a double, returned)
#include <maya/MArgList.h>
#include <maya/MFnPlugin.h>
#include <maya/MGlobal.h>
#include <maya/MPlug.h>
#include <maya/MPxCommand.h>
#include <maya/MSelectionList.h>

#include <thread>

namespace {

class IdleCommand : public MPxCommand {
public:
    static void* creator() { return new IdleCommand; }

    MStatus doIt(const MArgList& args) override {
        const MString command = args.asString(0);
        MStatus queued;
        std::thread([&] { queued = MGlobal::executeCommandOnIdle(command); }).join();
        return queued;
    }
};

class GetAttrCommand : public MPxCommand {
public:
    static void* creator() { return new GetAttrCommand; }

    MStatus doIt(const MArgList& args) override {
        MSelectionList list;
        MPlug plug;
        if (!list.add(args.asString(0)) || !list.getPlug(0, plug)) {
            return MStatus::kFailure;
        }
        double value = 0.0;
        std::thread([&] { value = plug.asDouble(); }).join();
        setResult(value);
        return MStatus::kSuccess;
    }
};

}  // namespace

MStatus initializePlugin(MObject obj) {
    MFnPlugin plugin(obj, "CineSheet tests", "1.0", "Any");
    MStatus status = plugin.registerCommand("offThreadIdle", IdleCommand::creator);
    return status ? plugin.registerCommand("offThreadGetAttr", GetAttrCommand::creator) : status;
}

MStatus uninitializePlugin(MObject obj) {
    MFnPlugin plugin(obj);
    plugin.deregisterCommand("offThreadIdle");
    return plugin.deregisterCommand("offThreadGetAttr");
}

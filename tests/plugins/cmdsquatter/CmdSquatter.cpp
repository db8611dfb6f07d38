// A plug-in that takes the command name "cineSheet" for itself, so that tests can load CineSheet
// into a host where its command name is already taken.
#include <maya/MFnPlugin.h>
#include <maya/MPxCommand.h>

namespace {

class SquatterCommand : public MPxCommand {
public:
    static void* creator() { return new SquatterCommand; }
    MStatus doIt(const MArgList&) override {
        setResult(MString("squatter"));
        return MStatus::kSuccess;
    }
};

}  // namespace

__attribute__((visibility("default"))) MStatus initializePlugin(MObject obj) {
    MFnPlugin plugin(obj, "CineSheet tests", "1.0", "Any");
    return plugin.registerCommand("cineSheet", SquatterCommand::creator);
}

__attribute__((visibility("default"))) MStatus uninitializePlugin(MObject obj) {
    MFnPlugin plugin(obj);
    return plugin.deregisterCommand("cineSheet");
}

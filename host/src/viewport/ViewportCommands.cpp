#include <host/Commands.h>
#include <host/Viewport.h>

#include <maya/MArgDatabase.h>
#include <maya/MFnDagNode.h>
#include <maya/MPxCommand.h>

// refresh and lookThru.
namespace host {
namespace {

class RefreshCommand : public MPxCommand {
public:
    static void* creator() { return new RefreshCommand; }
    static MSyntax newSyntax() {
        MSyntax syntax;
        syntax.addFlag("-f", "-force");
        syntax.addFlag("-cv", "-currentView");
        return syntax;
    }

    MStatus doIt(const MArgList&) override { return refresh(); }
};

class LookThruCommand : public MPxCommand {
public:
    static void* creator() { return new LookThruCommand; }
    static MSyntax newSyntax() {
        MSyntax syntax;
        syntax.setObjectType(MSyntax::kStringObjects, 0, 1);
        syntax.enableQuery(true);
        return syntax;
    }

    // With no camera (or -query) the result is the transform of the camera looked through.
    MStatus doIt(const MArgList& args) override {
        MArgDatabase parsed(syntax(), args);
        MStringArray objects;
        parsed.getObjects(objects);
        if (objects.length() == 0 || parsed.isQuery()) {
            setResult(MFnDagNode(lookThroughCamera().transform()).name());
            return MStatus::kSuccess;
        }
        const MStatus status = lookThru(objects[0]);
        if (!status) {
            displayError("lookThru: " + objects[0] + " is not a camera");
        }
        return status;
    }
};

const BuiltinCommandRegistrar refreshCommand("refresh", RefreshCommand::creator,
                                             RefreshCommand::newSyntax);
const BuiltinCommandRegistrar lookThruCommand("lookThru", LookThruCommand::creator,
                                              LookThruCommand::newSyntax);

}  // namespace
}  // namespace host

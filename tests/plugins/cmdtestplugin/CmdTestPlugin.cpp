// A small plug-in for the host's own tests: a node type, a command that echoes its arguments,
// an undoable counter command, and with CMDTEST_UI set the UI procedures cmdTestCreateUI,
// cmdTestDeleteUI, cmdTestCreateBatchUI, cmdTestDeleteBatchUI (which the tests define).
// CMDTEST_FAIL_AT=node|command makes initializePlugin fail at that step, after registering what
// comes before it.
#include <maya/MArgDatabase.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MFnPlugin.h>
#include <maya/MGlobal.h>
#include <maya/MPxCommand.h>
#include <maya/MPxNode.h>
#include <maya/MSyntax.h>

#include <cstdlib>
#include <cstring>

namespace {

bool failAt(const char* step) {
    const char* wanted = std::getenv("CMDTEST_FAIL_AT");
    return wanted && std::strcmp(wanted, step) == 0;
}

class CmdTestNode : public MPxNode {
public:
    static void* creator() { return new CmdTestNode; }

    // "weight" is saved with the scene, "scratch" is not, and is hidden.
    static MStatus initialize() {
        MFnNumericAttribute numeric;
        weight = numeric.create("weight", "wt", MFnNumericData::kDouble, 1.0);
        numeric.setStorable(true);
        scratch = numeric.create("scratch", "scr", MFnNumericData::kDouble, 0.0);
        numeric.setStorable(false);
        numeric.setHidden(true);
        MStatus status = addAttribute(weight);
        return status ? addAttribute(scratch) : status;
    }

    static MObject weight;
    static MObject scratch;
};

MObject CmdTestNode::weight;
MObject CmdTestNode::scratch;

// cmdTestEcho -s text -d number -i integer -b boolean [objects]: the result lists what it read.
class EchoCommand : public MPxCommand {
public:
    static void* creator() { return new EchoCommand; }

    static MSyntax newSyntax() {
        MSyntax syntax;
        syntax.addFlag("-s", "-string", MSyntax::kString);
        syntax.addFlag("-d", "-double", MSyntax::kDouble);
        syntax.addFlag("-i", "-int", MSyntax::kLong);
        syntax.addFlag("-b", "-bool", MSyntax::kBoolean);
        syntax.setObjectType(MSyntax::kStringObjects);
        return syntax;
    }

    MStatus doIt(const MArgList& args) override {
        MArgDatabase parsed(syntax(), args);
        MString text;
        double number = 0.0;
        int whole = 0;
        bool flag = false;
        if (parsed.getFlagArgument("-s", 0, text)) {
            appendToResult(text);
        }
        if (parsed.getFlagArgument("-d", 0, number)) {
            appendToResult(MString() + number);
        }
        if (parsed.getFlagArgument("-i", 0, whole)) {
            appendToResult(MString("int:") + whole);
        }
        if (parsed.getFlagArgument("-b", 0, flag)) {
            appendToResult(MString(flag ? "true" : "false"));
        }
        MStringArray objects;
        parsed.getObjects(objects);
        appendToResult(objects);
        return MStatus::kSuccess;
    }
};

// cmdTestCounter: adds one to a counter that "cmdTestCounter -q" reports; undo takes it back.
int counter = 0;

class CounterCommand : public MPxCommand {
public:
    static void* creator() { return new CounterCommand; }

    static MSyntax newSyntax() {
        MSyntax syntax;
        syntax.enableQuery();
        return syntax;
    }

    MStatus doIt(const MArgList& args) override {
        MArgDatabase parsed(syntax(), args);
        query_ = parsed.isQuery();
        if (query_) {
            setResult(counter);
            return MStatus::kSuccess;
        }
        return redoIt();
    }
    MStatus redoIt() override {
        setResult(++counter);
        return MStatus::kSuccess;
    }
    MStatus undoIt() override {
        --counter;
        return MStatus::kSuccess;
    }
    bool isUndoable() const override { return !query_; }

private:
    bool query_ = false;
};

const MTypeId kNodeId(0x7F0C1);

}  // namespace

MStatus initializePlugin(MObject obj) {
    MFnPlugin plugin(obj, "CineSheet tests", "2.5", "Any");
    MStatus status =
        plugin.registerNode("cmdTestNode", kNodeId, CmdTestNode::creator, CmdTestNode::initialize);
    if (!status || failAt("node")) {
        return MStatus::kFailure;
    }
    if (std::getenv("CMDTEST_UI") != nullptr) {
        plugin.registerUI("cmdTestCreateUI", "cmdTestDeleteUI", "cmdTestCreateBatchUI",
                          "cmdTestDeleteBatchUI");
    }
    status = plugin.registerCommand("cmdTestEcho", EchoCommand::creator, EchoCommand::newSyntax);
    if (!status || failAt("command")) {
        return MStatus::kFailure;
    }
    return plugin.registerCommand("cmdTestCounter", CounterCommand::creator,
                                  CounterCommand::newSyntax);
}

MStatus uninitializePlugin(MObject obj) {
    MFnPlugin plugin(obj);
    MStatus status = plugin.deregisterCommand("cmdTestCounter");
    if (status) {
        status = plugin.deregisterCommand("cmdTestEcho");
    }
    return status ? plugin.deregisterNode(kNodeId) : status;
}

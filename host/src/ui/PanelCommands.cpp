#include <host/Commands.h>
#include <host/Interface.h>
#include <host/Viewport.h>
#include <maya/MFnDagNode.h>
#include <maya/MGlobal.h>

#include "builtins/BuiltinSupport.h"
#include "ui/InterfaceState.h"

// The one model panel of an interactive session, modelPanel4, which looks through the viewport's
// camera: getPanel, modelPanel -q -camera, modelEditor (camera, plug-in display filters);
// pluginDisplayFilter; about -batch.
namespace host::ui {
namespace {

using builtins::fail;

MStatus checkPanel(const std::string& command, const std::vector<std::string>& names) {
    if (!interactiveSession() || names.empty() || names.front() != kModelPanel) {
        return fail(command + ": Object '" + (names.empty() ? "" : names.front()) + "' not found.");
    }
    return MStatus::kSuccess;
}

MString cameraTransformName() {
    return MFnDagNode(lookThroughCamera().transform()).name();
}

class GetPanelCommand : public MPxCommand {
public:
    static void* creator() { return new GetPanelCommand; }
    static MSyntax newSyntax() {
        MSyntax syntax;
        syntax.addFlag("-wf", "-withFocus");
        syntax.addFlag("-vis", "-visiblePanels");
        syntax.addFlag("-all", "-allPanels");
        syntax.addFlag("-typ", "-type", MSyntax::kString);
        syntax.addFlag("-to", "-typeOf", MSyntax::kString);
        return syntax;
    }

    // A batch session has no panels.
    MStatus doIt(const MArgList& args) override {
        MArgDatabase parsed(syntax(), args);
        const bool panel = interactiveSession();
        if (parsed.isFlagSet("-typeOf")) {
            bool known = panel && parsed.flagArgumentString("-typeOf", 0) == kModelPanel;
            setResult(MString(known ? "modelPanel" : ""));
        } else if (parsed.isFlagSet("-withFocus")) {
            setResult(MString(panel ? kModelPanel : ""));
        } else {
            bool listed = panel && (!parsed.isFlagSet("-type") ||
                                    parsed.flagArgumentString("-type", 0) == "modelPanel");
            MStringArray panels;
            if (listed) {
                panels.append(kModelPanel);
            }
            setResult(panels);
        }
        return MStatus::kSuccess;
    }
};

class ModelPanelCommand : public MPxCommand {
public:
    static void* creator() { return new ModelPanelCommand; }
    static MSyntax newSyntax() {
        MSyntax syntax;
        syntax.addFlag("-cam", "-camera", MSyntax::kString);
        syntax.addFlag("-me", "-modelEditor");
        syntax.addFlag("-ex", "-exists");
        syntax.setObjectType(MSyntax::kStringObjects, 1, 1);
        syntax.enableQuery();
        return syntax;
    }

    MStatus doIt(const MArgList& args) override {
        MArgDatabase parsed(syntax(), args);
        std::vector<std::string> names = builtins::objectWords(parsed);
        if (parsed.isFlagSet("-exists")) {
            setResult(interactiveSession() && names.front() == kModelPanel);
            return MStatus::kSuccess;
        }
        MStatus status = checkPanel("modelPanel", names);
        if (!status) {
            return status;
        }
        if (!parsed.isQuery()) {
            return fail("modelPanel: only queries are supported");
        }
        setResult(parsed.isFlagSet("-camera") ? cameraTransformName() : MString(kModelPanel));
        return MStatus::kSuccess;
    }
};

// modelEditor -e -pluginObjects "filter" false modelPanel4 hides what the filter covers;
// modelEditor -q -pluginObjects "filter" modelPanel4 tells whether it is shown (a query takes
// only the filter's name, which comes before the panel).
class ModelEditorCommand : public MPxCommand {
public:
    static void* creator() { return new ModelEditorCommand; }
    static MSyntax newSyntax() {
        MSyntax syntax;
        syntax.addFlag("-cam", "-camera", MSyntax::kString);
        syntax.addFlag("-po", "-pluginObjects", MSyntax::kString, MSyntax::kBoolean);
        syntax.setObjectType(MSyntax::kStringObjects, 1, 2);
        syntax.enableQuery();
        syntax.enableEdit();
        return syntax;
    }

    MStatus doIt(const MArgList& args) override {
        MArgDatabase parsed(syntax(), args);
        std::vector<std::string> words = builtins::objectWords(parsed);
        const bool queryFilter = parsed.isQuery() && parsed.isFlagSet("-pluginObjects");
        const std::string filter = queryFilter ? words.front() : "";
        if (queryFilter) {
            words.erase(words.begin());
        }
        MStatus status = checkPanel("modelEditor", words);
        if (!status) {
            return status;
        }
        if (parsed.isQuery() && parsed.isFlagSet("-camera")) {
            setResult(cameraTransformName());
            return MStatus::kSuccess;
        }
        if (!parsed.isFlagSet("-pluginObjects")) {
            return fail("modelEditor: name what to query or edit");
        }
        InterfaceState& state = interfaceState();
        const std::string name =
            queryFilter ? filter : parsed.flagArgumentString("-pluginObjects", 0).asChar();
        if (state.displayFilters.count(name) == 0) {
            return fail("modelEditor: no plug-in display filter is named '" + name + "'");
        }
        if (queryFilter) {
            setResult(state.hiddenFilters.count(name) == 0);
        } else if (parsed.flagArgumentBool("-pluginObjects", 1)) {
            state.hiddenFilters.erase(name);
        } else {
            state.hiddenFilters.insert(name);
        }
        return MStatus::kSuccess;
    }
};

// pluginDisplayFilter [-register] -label l -classification c name; -deregister name;
// -exists name; -q -listFilters; -q -label|-classification name.
class PluginDisplayFilterCommand : public MPxCommand {
public:
    static void* creator() { return new PluginDisplayFilterCommand; }
    static MSyntax newSyntax() {
        MSyntax syntax;
        syntax.addFlag("-r", "-register");
        syntax.addFlag("-dr", "-deregister", MSyntax::kString);
        syntax.addFlag("-ex", "-exists", MSyntax::kString);
        syntax.addFlag("-l", "-label", MSyntax::kString);
        syntax.addFlag("-cls", "-classification", MSyntax::kString);
        syntax.addFlag("-lf", "-listFilters");
        syntax.setObjectType(MSyntax::kStringObjects, 0, 1);
        syntax.enableQuery();
        return syntax;
    }

    MStatus doIt(const MArgList& args) override {
        MArgDatabase parsed(syntax(), args);
        InterfaceState& state = interfaceState();
        std::vector<std::string> names = builtins::objectWords(parsed);
        if (parsed.isFlagSet("-exists")) {
            setResult(
                state.displayFilters.count(parsed.flagArgumentString("-exists", 0).asChar()) != 0);
            return MStatus::kSuccess;
        }
        if (parsed.isFlagSet("-deregister")) {
            std::string name = parsed.flagArgumentString("-deregister", 0).asChar();
            if (state.displayFilters.erase(name) == 0) {
                return fail("pluginDisplayFilter: no filter is named '" + name + "'");
            }
            state.hiddenFilters.erase(name);
            return MStatus::kSuccess;
        }
        if (parsed.isQuery()) {
            return query(parsed, names);
        }
        if (names.empty() || !parsed.isFlagSet("-classification")) {
            return fail("pluginDisplayFilter: a filter needs a name and a classification");
        }
        if (state.displayFilters.count(names.front()) != 0) {
            return fail("pluginDisplayFilter: a filter named '" + names.front() + "' exists");
        }
        std::string label = parsed.isFlagSet("-label")
                                ? parsed.flagArgumentString("-label", 0).asChar()
                                : names.front();
        state.displayFilters[names.front()] = {
            label, parsed.flagArgumentString("-classification", 0).asChar()};
        return MStatus::kSuccess;
    }

private:
    MStatus query(const MArgDatabase& parsed, const std::vector<std::string>& names) {
        const InterfaceState& state = interfaceState();
        if (parsed.isFlagSet("-listFilters")) {
            MStringArray filters;
            for (const auto& filter : state.displayFilters) {
                filters.append(MString(filter.first.c_str()));
            }
            setResult(filters);
            return MStatus::kSuccess;
        }
        auto filter =
            names.empty() ? state.displayFilters.end() : state.displayFilters.find(names.front());
        if (filter == state.displayFilters.end()) {
            return fail("pluginDisplayFilter: no such filter");
        }
        setResult(MString(parsed.isFlagSet("-label") ? filter->second.label.c_str()
                                                     : filter->second.classification.c_str()));
        return MStatus::kSuccess;
    }
};

class AboutCommand : public MPxCommand {
public:
    static void* creator() { return new AboutCommand; }
    static MSyntax newSyntax() {
        MSyntax syntax;
        syntax.addFlag("-b", "-batch");
        syntax.addFlag("-v", "-version");
        return syntax;
    }

    MStatus doIt(const MArgList& args) override {
        MArgDatabase parsed(syntax(), args);
        if (parsed.isFlagSet("-batch")) {
            setResult(!interactiveSession());
        } else if (parsed.isFlagSet("-version")) {
            setResult(MGlobal::mayaVersion());
        } else {
            return fail("about: name what to ask");
        }
        return MStatus::kSuccess;
    }
};

const BuiltinCommandRegistrar getPanelCommand("getPanel", GetPanelCommand::creator,
                                              GetPanelCommand::newSyntax);
const BuiltinCommandRegistrar modelPanelCommand("modelPanel", ModelPanelCommand::creator,
                                                ModelPanelCommand::newSyntax);
const BuiltinCommandRegistrar modelEditorCommand("modelEditor", ModelEditorCommand::creator,
                                                 ModelEditorCommand::newSyntax);
const BuiltinCommandRegistrar pluginDisplayFilterCommand("pluginDisplayFilter",
                                                         PluginDisplayFilterCommand::creator,
                                                         PluginDisplayFilterCommand::newSyntax);
const BuiltinCommandRegistrar aboutCommand("about", AboutCommand::creator, AboutCommand::newSyntax);

}  // namespace
}  // namespace host::ui

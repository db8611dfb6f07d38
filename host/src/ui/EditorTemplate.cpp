#include <host/Commands.h>
#include <host/Interface.h>
#include <host/Scene.h>
#include <maya/MFnDependencyNode.h>

#include "builtins/BuiltinSupport.h"
#include "ui/InterfaceState.h"

// editorTemplate records an Attribute Editor layout; showEditor builds one for a node by
// running AE<nodeType>Template, as Maya does, then the procedures of its custom controls;
// AEdependNodeTemplate and AEshapeTemplate stand for Maya's own procedures of those names.
namespace host::ui {
namespace {

using builtins::fail;
using builtins::scriptWord;

void record(const std::string& entry) {
    interfaceState().editorEntries.push_back(entry);
}

MStatus runQuietly(const std::string& text) {
    ScriptOptions options;
    options.recordUndo = false;
    return runScript(text, options);
}

class EditorTemplateCommand : public MPxCommand {
public:
    static void* creator() { return new EditorTemplateCommand; }
    static MSyntax newSyntax() {
        MSyntax syntax;
        syntax.addFlag("-bsl", "-beginScrollLayout");
        syntax.addFlag("-esl", "-endScrollLayout");
        syntax.addFlag("-bl", "-beginLayout", MSyntax::kString);
        syntax.addFlag("-el", "-endLayout");
        syntax.addFlag("-cl", "-collapse", MSyntax::kBoolean);
        syntax.addFlag("-ac", "-addControl", MSyntax::kString);
        syntax.addFlag("-l", "-label", MSyntax::kString);
        syntax.addFlag("-ann", "-annotation", MSyntax::kString);
        syntax.addFlag("-s", "-suppress", MSyntax::kString);
        syntax.addFlag("-ccu", "-callCustom", MSyntax::kString, MSyntax::kString);
        syntax.addFlag("-dc", "-dimControl", MSyntax::kString, MSyntax::kString, MSyntax::kBoolean);
        syntax.addFlag("-as", "-addSeparator");
        syntax.addFlag("-aec", "-addExtraControls");
        // The attributes of -callCustom, the changed command of -addControl.
        syntax.setObjectType(MSyntax::kStringObjects, 0);
        return syntax;
    }

    MStatus doIt(const MArgList& args) override {
        MArgDatabase parsed(syntax(), args);
        std::vector<std::string> words = builtins::objectWords(parsed);
        auto text = [&](const char* flag, unsigned int index) {
            return std::string(parsed.flagArgumentString(flag, index).asChar());
        };
        if (parsed.isFlagSet("-beginScrollLayout")) {
            record("beginScrollLayout");
        } else if (parsed.isFlagSet("-beginLayout")) {
            record("beginLayout " + text("-beginLayout", 0));
        } else if (parsed.isFlagSet("-endLayout")) {
            record("endLayout");
        } else if (parsed.isFlagSet("-addControl")) {
            record("addControl " + text("-addControl", 0));
        } else if (parsed.isFlagSet("-suppress")) {
            record("suppress " + text("-suppress", 0));
        } else if (parsed.isFlagSet("-callCustom")) {
            std::vector<std::string> custom{text("-callCustom", 0), text("-callCustom", 1)};
            custom.insert(custom.end(), words.begin(), words.end());
            interfaceState().customControls.push_back(custom);
            std::string entry = "callCustom";
            for (const std::string& word : custom) {
                entry += " " + word;
            }
            record(entry);
        } else if (parsed.isFlagSet("-dimControl")) {
            record("dimControl " + text("-dimControl", 1) + " " +
                   (parsed.flagArgumentBool("-dimControl", 2) ? "1" : "0"));
        } else if (parsed.isFlagSet("-addSeparator")) {
            record("addSeparator");
        } else if (parsed.isFlagSet("-addExtraControls")) {
            record("addExtraControls");
        } else if (parsed.isFlagSet("-endScrollLayout")) {
            record("endScrollLayout");
        } else {
            return fail("editorTemplate: nothing to do");
        }
        return MStatus::kSuccess;
    }
};

// Maya's standard sections: AEdependNodeTemplate for dependency nodes, AEshapeTemplate for
// shapes (which brings the DAG node's sections too). Each is recorded by its name.
template <const char* kName>
class StandardTemplateCommand : public MPxCommand {
public:
    static void* creator() { return new StandardTemplateCommand; }
    static MSyntax newSyntax() { return builtins::wordsSyntax(1, 1); }
    MStatus doIt(const MArgList&) override {
        record(kName);
        return MStatus::kSuccess;
    }
};

constexpr char kDependNodeTemplate[] = "AEdependNodeTemplate";
constexpr char kShapeTemplate[] = "AEshapeTemplate";

// showEditor node: the first node of a type runs its template and the "new" procedures of its
// custom controls; a later node of the same type reuses the layout through the "replace" ones.
class ShowEditorCommand : public MPxCommand {
public:
    static void* creator() { return new ShowEditorCommand; }
    static MSyntax newSyntax() { return builtins::wordsSyntax(1, 1); }

    MStatus doIt(const MArgList& args) override {
        MArgDatabase parsed(syntax(), args);
        const std::string node = builtins::objectWords(parsed).front();
        MObject object;
        if (!findNode(MString(node.c_str()), object)) {
            return fail("showEditor: No object matches name: " + node);
        }
        if (!interactiveSession()) {
            return fail("showEditor: there is no user interface in a batch session");
        }
        InterfaceState& state = interfaceState();
        const std::string type = MFnDependencyNode(object).typeName().asChar();
        const bool reuse = state.editorType == type;
        state.editorNode = node;
        const std::string layout = "AttrEd" + type + "FormLayout";
        if (!reuse) {
            state.editorEntries.clear();
            state.customControls.clear();
            removeElement(layout);
            state.elements.push_back({layout, "layout", "", {}});
            state.editorType = type;
            if (!runQuietly("AE" + type + "Template " + scriptWord(node, true))) {
                state.editorType.clear();
                return fail("showEditor: the Attribute Editor template of " + type + " failed");
            }
        }
        state.currentLayout = layout;
        for (const std::vector<std::string>& custom : state.customControls) {
            std::string call = reuse ? custom[1] : custom[0];
            for (std::size_t i = 2; i < custom.size(); ++i) {
                call += " " + scriptWord(node + "." + custom[i], true);
            }
            if (!runQuietly(call)) {
                return fail("showEditor: the custom control procedure " + call + " failed");
            }
        }
        return MStatus::kSuccess;
    }
};

const BuiltinCommandRegistrar editorTemplateCommand("editorTemplate",
                                                    EditorTemplateCommand::creator,
                                                    EditorTemplateCommand::newSyntax);
const BuiltinCommandRegistrar dependNodeTemplateCommand(
    kDependNodeTemplate, StandardTemplateCommand<kDependNodeTemplate>::creator,
    StandardTemplateCommand<kDependNodeTemplate>::newSyntax);
const BuiltinCommandRegistrar shapeTemplateCommand(
    kShapeTemplate, StandardTemplateCommand<kShapeTemplate>::creator,
    StandardTemplateCommand<kShapeTemplate>::newSyntax);
const BuiltinCommandRegistrar showEditorCommand("showEditor", ShowEditorCommand::creator,
                                                ShowEditorCommand::newSyntax);

}  // namespace
}  // namespace host::ui

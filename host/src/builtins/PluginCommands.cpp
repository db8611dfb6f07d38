#include <host/Commands.h>
#include <host/Plugins.h>

#include "builtins/BuiltinSupport.h"

// loadPlugin, unloadPlugin and requires.
namespace host::builtins {
namespace {

class LoadPluginCommand : public MPxCommand {
public:
    static MSyntax newSyntax() {
        MSyntax syntax = wordsSyntax(1);
        syntax.addFlag("-qt", "-quiet");
        return syntax;
    }

    // The result is the names of the plug-ins loaded. One already loaded is passed over with a
    // warning, which -quiet(-qt) silences: the script goes on
    // (https://help.autodesk.com/cloudhelp/2016/ENU/Maya-Tech-Docs/Commands/loadPlugin.html).
    // Maya's wording of the warning is not documented, nor whether the name is in the result:
    // it is not, since this call loaded nothing.
    MStatus doIt(const MArgList& args) override {
        MArgDatabase parsed(syntax(), args);
        bool quiet = parsed.isFlagSet("-quiet");
        for (const std::string& path : objectWords(parsed)) {
            const std::string found = pluginNameOf(path);
            if (!found.empty() && isPluginLoaded(found)) {
                if (!quiet) {
                    showMessage(MessageKind::kWarning,
                                "Plug-in \"" + found + "\" is already loaded");
                }
                continue;
            }
            std::string name;
            MStatus status = loadPlugin(path, &name);
            if (!status) {
                return status;
            }
            appendToResult(MString(name.c_str()));
        }
        return MStatus::kSuccess;
    }
};

class UnloadPluginCommand : public MPxCommand {
public:
    static MSyntax newSyntax() {
        MSyntax syntax = wordsSyntax(1);
        syntax.addFlag("-f", "-force");
        return syntax;
    }

    MStatus doIt(const MArgList& args) override {
        MArgDatabase parsed(syntax(), args);
        bool force = parsed.isFlagSet("-force");
        for (const std::string& name : objectWords(parsed)) {
            MStatus status = unloadPlugin(name, force);
            if (!status) {
                return status;
            }
        }
        return MStatus::kSuccess;
    }
};

// `requires "plugin" "version";` at the top of a saved scene: loads the plug-in when needed.
class RequiresCommand : public MPxCommand {
public:
    static MSyntax newSyntax() { return wordsSyntax(1, 2); }

    MStatus doIt(const MArgList& args) override {
        MArgDatabase parsed(syntax(), args);
        std::string name = objectWords(parsed).front();
        if (name == "maya" || isPluginLoaded(name)) {
            return MStatus::kSuccess;
        }
        if (!loadPlugin(name)) {
            return fail("Plug-in \"" + name + "\" is required but could not be loaded");
        }
        return MStatus::kSuccess;
    }
};

const BuiltinCommandRegistrar loadPluginCommand("loadPlugin", create<LoadPluginCommand>,
                                                LoadPluginCommand::newSyntax);
const BuiltinCommandRegistrar unloadPluginCommand("unloadPlugin", create<UnloadPluginCommand>,
                                                  UnloadPluginCommand::newSyntax);
const BuiltinCommandRegistrar requiresCommand("requires", create<RequiresCommand>,
                                              RequiresCommand::newSyntax);

}  // namespace
}  // namespace host::builtins

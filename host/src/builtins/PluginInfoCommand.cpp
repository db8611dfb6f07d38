#include <host/Commands.h>
#include <host/Plugins.h>
#include <maya/MStringArray.h>

#include "builtins/BuiltinSupport.h"
#include "commands/CommandTable.h"

// pluginInfo -query -loaded / -version / -command <plug-in>
// (https://help.autodesk.com/cloudhelp/2023/ENU/Maya-Tech-Docs/Commands/pluginInfo.html): the
// plug-in is given by its internal name or by its file's path. -version's short name -v is the
// page's; the others' were not retrieved, so only their long names are taken. -command lists the
// plug-in's "normal" commands, which are the only kind the stand-in has. The page does not say
// what -version or -command give for a plug-in that is not loaded: the stand-in refuses them.
namespace host::builtins {
namespace {

class PluginInfoCommand : public MPxCommand {
public:
    static MSyntax newSyntax() {
        MSyntax syntax = wordsSyntax(1, 1);
        syntax.addFlag("-loaded", "-loaded");
        syntax.addFlag("-v", "-version");
        syntax.addFlag("-command", "-command");
        syntax.enableQuery();
        return syntax;
    }

    MStatus doIt(const MArgList& args) override {
        MArgDatabase parsed(syntax(), args);
        const bool loaded = parsed.isFlagSet("-loaded");
        const bool version = parsed.isFlagSet("-version");
        const bool command = parsed.isFlagSet("-command");
        if (!parsed.isQuery() || loaded + version + command != 1) {
            return fail("pluginInfo: give -query and one of -loaded, -version and -command");
        }
        const std::string name = pluginNameFromPath(objectWords(parsed).front());
        if (loaded) {
            setResult(isPluginLoaded(name));
            return MStatus::kSuccess;
        }
        if (!isPluginLoaded(name)) {
            return fail("pluginInfo: Plug-in \"" + name + "\" is not loaded");
        }
        if (version) {
            setResult(MString(pluginVersion(name).c_str()));
            return MStatus::kSuccess;
        }
        MStringArray commands;
        for (const std::string& each : CommandTable::instance().namesOf(name)) {
            commands.append(each.c_str());
        }
        setResult(commands);
        return MStatus::kSuccess;
    }
};

const BuiltinCommandRegistrar pluginInfoCommand("pluginInfo", create<PluginInfoCommand>,
                                                PluginInfoCommand::newSyntax);

}  // namespace
}  // namespace host::builtins

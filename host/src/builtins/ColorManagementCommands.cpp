#include <host/Commands.h>
#include <host/CommandsInCompute.h>
#include <host/Events.h>
#include <host/Faults.h>
#include <host/MainThread.h>

#include "builtins/BuiltinSupport.h"
#include "builtins/ColorSettings.h"
#include "builtins/FileRules.h"
#include "render/ColourConfig.h"

#include <sstream>

// colorManagementPrefs (queries, and the configuration file as an edit), colorManagementFileRules
// (-evaluate only) and hostConfig, which sets what they report.
namespace host::builtins {
namespace {

// Maya's short flag names for this command are not documented; the long ones are.
class ColorManagementPrefsCommand : public MPxCommand {
public:
    static MSyntax newSyntax() {
        MSyntax syntax;
        syntax.addFlag("-lrs", "-loadedRenderingSpaceName");
        syntax.addFlag("-rsn", "-renderingSpaceName");
        syntax.addFlag("-isn", "-inputSpaceNames");
        syntax.addFlag("-cme", "-cmEnabled");
        syntax.addFlag("-cfp", "-configFilePath", MSyntax::kString);
        syntax.enableQuery();
        syntax.enableEdit();
        return syntax;
    }

    MStatus doIt(const MArgList& args) override {
        MArgDatabase parsed(syntax(), args);
        if (parsed.isEdit()) {
            return edit(parsed);
        }
        if (!parsed.isQuery()) {
            return fail("colorManagementPrefs: use -query or -edit");
        }
        if (faultEnabled(fault::kColorManagementQuery)) {
            return fail("colorManagementPrefs: color management is not available");
        }
        const ColorSettings& settings = colorSettings();
        if (parsed.isFlagSet("-configFilePath")) {
            setResult(MString(ColourConfig::instance().path().c_str()));
        } else if (parsed.isFlagSet("-loadedRenderingSpaceName") ||
                   parsed.isFlagSet("-renderingSpaceName")) {
            setResult(MString(settings.renderingSpace.c_str()));
        } else if (parsed.isFlagSet("-inputSpaceNames")) {
            MStringArray names;
            for (const std::string& name : settings.inputSpaces) {
                names.append(MString(name.c_str()));
            }
            setResult(names);
        } else if (parsed.isFlagSet("-cmEnabled")) {
            setResult(true);
        } else {
            return fail("colorManagementPrefs: name what to query");
        }
        return MStatus::kSuccess;
    }

private:
    // Only the configuration file can be changed: a file that cannot be loaded leaves the
    // configuration loaded before.
    MStatus edit(const MArgDatabase& parsed) {
        MString path;
        if (!parsed.getFlagArgument("-configFilePath", 0, path)) {
            return fail("colorManagementPrefs: only -configFilePath can be edited");
        }
        std::string error;
        if (!loadConfig(path.asChar(), error)) {
            return fail(std::string("colorManagementPrefs: cannot load the OCIO configuration ") +
                        path.asChar() + ": " + error);
        }
        return MStatus::kSuccess;
    }
};

// colorManagementFileRules -evaluate <path>: the input space the rules give the file.
class ColorManagementFileRulesCommand : public MPxCommand {
public:
    static MSyntax newSyntax() {
        MSyntax syntax;
        syntax.addFlag("-ev", "-evaluate", MSyntax::kString);
        return syntax;
    }

    MStatus doIt(const MArgList& args) override {
        MArgDatabase parsed(syntax(), args);
        MString path;
        if (!parsed.getFlagArgument("-evaluate", 0, path)) {
            return fail("colorManagementFileRules: only -evaluate is supported");
        }
        if (faultEnabled(fault::kColorManagementQuery)) {
            return fail("colorManagementFileRules: color management is not available");
        }
        setResult(MString(evaluateFileRules(colorSettings(), path.asChar()).c_str()));
        return MStatus::kSuccess;
    }
};

// Host-only settings for tests: the colour-management answers and the fault switches.
//   hostConfig -inputSpaceNames "sRGB,Raw" -renderingSpaceName "ACEScg";
//   hostConfig -fileRule "*/plates/*" "ACEScg";   (each rule above those set before)
//   hostConfig -fault colorManagementQuery on;   hostConfig -resetFaults;
//   hostConfig -q -offMainThreadCalls;   (calls into the API from other threads so far)
//   hostConfig -q -commandsInCompute;    (MEL commands run from a node's compute so far)
class HostConfigCommand : public MPxCommand {
public:
    static MSyntax newSyntax() {
        MSyntax syntax;
        syntax.addFlag("-isn", "-inputSpaceNames", MSyntax::kString);
        syntax.addFlag("-rsn", "-renderingSpaceName", MSyntax::kString);
        syntax.addFlag("-fr", "-fileRule", MSyntax::kString, MSyntax::kString);
        syntax.makeFlagMultiUse("-fileRule");
        syntax.addFlag("-flt", "-fault", MSyntax::kString, MSyntax::kBoolean);
        syntax.makeFlagMultiUse("-fault");
        syntax.addFlag("-rf", "-resetFaults");
        syntax.addFlag("-rcm", "-resetColorManagement");
        syntax.addFlag("-omt", "-offMainThreadCalls");
        syntax.addFlag("-cic", "-commandsInCompute");
        syntax.enableQuery();
        return syntax;
    }

    MStatus doIt(const MArgList& args) override {
        MArgDatabase parsed(syntax(), args);
        if (parsed.isQuery()) {
            if (parsed.isFlagSet("-offMainThreadCalls")) {
                setResult(static_cast<int>(offMainThreadCalls()));
            } else if (parsed.isFlagSet("-commandsInCompute")) {
                setResult(static_cast<int>(commandsInCompute()));
            } else {
                return fail(
                    "hostConfig: only -offMainThreadCalls and -commandsInCompute can be queried");
            }
            return MStatus::kSuccess;
        }
        for (unsigned int i = 0; i < parsed.numberOfFlagUses("-fault"); ++i) {
            MArgList use;
            parsed.getFlagArgumentList("-fault", i, use);
            if (!isKnownFault(use.asString(0).asChar())) {
                return fail("hostConfig: unknown fault '" + std::string(use.asString(0).asChar()) +
                            "'");
            }
        }
        if (parsed.isFlagSet("-resetFaults")) {
            clearFaults();
        }
        if (parsed.isFlagSet("-resetColorManagement")) {
            colorSettings().fileRules.clear();
            takeNamesOfLoadedConfig();
        }
        for (unsigned int i = 0; i < parsed.numberOfFlagUses("-fault"); ++i) {
            MArgList use;
            parsed.getFlagArgumentList("-fault", i, use);
            setFault(use.asString(0).asChar(), use.asBool(1));
        }
        MString text;
        if (parsed.getFlagArgument("-inputSpaceNames", 0, text)) {
            // Stands for another configuration being loaded, and is told as such.
            colorSettings().inputSpaces = splitNames(text.asChar());
            raiseEvent("colorMgtConfigChanged");
        }
        if (parsed.getFlagArgument("-renderingSpaceName", 0, text)) {
            colorSettings().renderingSpace = text.asChar();
        }
        for (unsigned int i = 0; i < parsed.numberOfFlagUses("-fileRule"); ++i) {
            MArgList use;
            parsed.getFlagArgumentList("-fileRule", i, use);
            auto& rules = colorSettings().fileRules;
            rules.insert(rules.begin(),
                         FileRule{use.asString(0).asChar(), use.asString(1).asChar()});
        }
        return MStatus::kSuccess;
    }

private:
    static std::vector<std::string> splitNames(const std::string& text) {
        std::vector<std::string> names;
        std::istringstream list(text);
        for (std::string name; std::getline(list, name, ',');) {
            if (!name.empty()) {
                names.push_back(name);
            }
        }
        return names;
    }
};

const BuiltinCommandRegistrar colorManagementPrefsCommand("colorManagementPrefs",
                                                          create<ColorManagementPrefsCommand>,
                                                          ColorManagementPrefsCommand::newSyntax);
const BuiltinCommandRegistrar colorManagementFileRulesCommand(
    "colorManagementFileRules", create<ColorManagementFileRulesCommand>,
    ColorManagementFileRulesCommand::newSyntax);
const BuiltinCommandRegistrar hostConfigCommand("hostConfig", create<HostConfigCommand>,
                                                HostConfigCommand::newSyntax);

}  // namespace
}  // namespace host::builtins

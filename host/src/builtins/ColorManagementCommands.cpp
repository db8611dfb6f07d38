#include <host/Commands.h>
#include <host/Faults.h>
#include <host/MainThread.h>

#include "builtins/BuiltinSupport.h"
#include "builtins/ColorSettings.h"

#include <sstream>

// colorManagementPrefs (queries only) and hostConfig, which sets what it reports.
namespace host::builtins {
namespace {

class ColorManagementPrefsCommand : public MPxCommand {
public:
    static MSyntax newSyntax() {
        MSyntax syntax;
        syntax.addFlag("-lrs", "-loadedRenderingSpaceName");
        syntax.addFlag("-rsn", "-renderingSpaceName");
        syntax.addFlag("-isn", "-inputSpaceNames");
        syntax.addFlag("-cme", "-cmEnabled");
        syntax.enableQuery();
        return syntax;
    }

    MStatus doIt(const MArgList& args) override {
        MArgDatabase parsed(syntax(), args);
        if (!parsed.isQuery()) {
            return fail("colorManagementPrefs: only queries are supported");
        }
        if (faultEnabled(fault::kColorManagementQuery)) {
            return fail("colorManagementPrefs: color management is not available");
        }
        const ColorSettings& settings = colorSettings();
        if (parsed.isFlagSet("-loadedRenderingSpaceName") ||
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
};

// Host-only settings for tests: the colour-management answers and the fault switches.
//   hostConfig -inputSpaceNames "sRGB,Raw" -renderingSpaceName "ACEScg";
//   hostConfig -fault colorManagementQuery on;   hostConfig -resetFaults;
//   hostConfig -q -offMainThreadCalls;   (calls into the API from other threads so far)
class HostConfigCommand : public MPxCommand {
public:
    static MSyntax newSyntax() {
        MSyntax syntax;
        syntax.addFlag("-isn", "-inputSpaceNames", MSyntax::kString);
        syntax.addFlag("-rsn", "-renderingSpaceName", MSyntax::kString);
        syntax.addFlag("-flt", "-fault", MSyntax::kString, MSyntax::kBoolean);
        syntax.makeFlagMultiUse("-fault");
        syntax.addFlag("-rf", "-resetFaults");
        syntax.addFlag("-rcm", "-resetColorManagement");
        syntax.addFlag("-omt", "-offMainThreadCalls");
        syntax.enableQuery();
        return syntax;
    }

    MStatus doIt(const MArgList& args) override {
        MArgDatabase parsed(syntax(), args);
        if (parsed.isQuery()) {
            if (!parsed.isFlagSet("-offMainThreadCalls")) {
                return fail("hostConfig: only -offMainThreadCalls can be queried");
            }
            setResult(static_cast<int>(offMainThreadCalls()));
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
            colorSettings() = ColorSettings();
        }
        for (unsigned int i = 0; i < parsed.numberOfFlagUses("-fault"); ++i) {
            MArgList use;
            parsed.getFlagArgumentList("-fault", i, use);
            setFault(use.asString(0).asChar(), use.asBool(1));
        }
        MString text;
        if (parsed.getFlagArgument("-inputSpaceNames", 0, text)) {
            colorSettings().inputSpaces = splitNames(text.asChar());
        }
        if (parsed.getFlagArgument("-renderingSpaceName", 0, text)) {
            colorSettings().renderingSpace = text.asChar();
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
const BuiltinCommandRegistrar hostConfigCommand("hostConfig", create<HostConfigCommand>,
                                                HostConfigCommand::newSyntax);

}  // namespace
}  // namespace host::builtins

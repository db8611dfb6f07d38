#include "builtins/SceneColorConfig.h"

#include <host/Commands.h>

#include "builtins/BuiltinSupport.h"
#include "builtins/ColorSettings.h"
#include "render/ColourConfig.h"

#include <cstdlib>

// Maya saves the OCIO configuration's path with the scene and applies it on open, unless the
// OCIO environment variable (or a colour-management policy) overrides it
// (https://help.autodesk.com/cloudhelp/2022/ENU/Maya-Rendering/files/GUID-A5A2B5C8-7992-41E3-8482-9DD86EC89717.htm,
// https://help.autodesk.com/cloudhelp/2017/ENU/Maya/files/GUID-4AE9AABC-A900-4276-AFE4-F9DCD96BA03D.htm).
// Maya keeps it on :defaultColorMgtGlobals.cfp, a node the stand-in does not have: its scenes
// carry the host command hostSceneColorConfig instead. What Maya does with a saved path it cannot
// load is not documented; the stand-in takes the reading that loses least: it warns and keeps the
// configuration loaded, and the scene still opens.
namespace host::builtins {
namespace {

class HostSceneColorConfigCommand : public MPxCommand {
public:
    MStatus doIt(const MArgList& args) override {
        const std::vector<std::string> words = objectWords(MArgDatabase(syntax(), args));
        const char* fromEnvironment = std::getenv("OCIO");
        if (fromEnvironment != nullptr && *fromEnvironment != '\0') {
            return MStatus::kSuccess;
        }
        std::string error;
        if (!loadConfig(words.front(), error)) {
            showMessage(MessageKind::kWarning, "cannot load the scene's OCIO configuration " +
                                                   words.front() + " (" + error +
                                                   "); the one loaded stays");
        }
        return MStatus::kSuccess;
    }
};

const BuiltinCommandRegistrar sceneColorConfigCommand("hostSceneColorConfig",
                                                      create<HostSceneColorConfigCommand>,
                                                      [] { return wordsSyntax(1, 1); });

}  // namespace

std::string sceneColorConfigLine() {
    return "hostSceneColorConfig " + scriptWord(ColourConfig::instance().path(), true) + ";\n";
}

}  // namespace host::builtins

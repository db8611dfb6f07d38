#include <host/Commands.h>
#include <host/Messages.h>
#include <host/Scene.h>
#include <host/Viewport.h>

#include <maya/MArgDatabase.h>
#include <maya/MPxCommand.h>

#include "playblast/Playblast.h"

#include <cmath>
#include <string>
#include <vector>

// playblast: a range of frames rendered through a camera into numbered PNG files.
namespace host {
namespace {

MStatus failWith(const std::string& message) {
    showMessage(MessageKind::kError, "playblast: " + message);
    return MStatus::kFailure;
}

class PlayblastCommand : public MPxCommand {
public:
    static void* creator() { return new PlayblastCommand; }
    static MSyntax newSyntax() {
        MSyntax syntax;
        syntax.addFlag("-st", "-startTime", MSyntax::kDouble);
        syntax.addFlag("-et", "-endTime", MSyntax::kDouble);
        syntax.addFlag("-cam", "-camera", MSyntax::kString);
        syntax.addFlag("-w", "-width", MSyntax::kLong);
        syntax.addFlag("-h", "-height", MSyntax::kLong);
        syntax.addFlag("-f", "-filename", MSyntax::kString);
        syntax.addFlag("-fp", "-framePadding", MSyntax::kLong);
        return syntax;
    }

    // Frames default to the current one, the camera to the one looked through, the size to
    // defaultResolution's. The result is the pattern of the files written.
    MStatus doIt(const MArgList& args) override {
        MStatus status;
        MArgDatabase parsed(syntax(), args, &status);
        if (!status) {
            return failWith("the flags do not fit the command");
        }
        PlayblastSettings settings;
        if (parsed.isFlagSet("-filename")) {
            settings.prefix = parsed.flagArgumentString("-filename", 0).asChar();
        }
        if (settings.prefix.empty()) {
            return failWith("-filename is required");
        }
        settings.startFrame = currentTime().as(MTime::uiUnit());
        if (parsed.isFlagSet("-startTime")) {
            settings.startFrame = parsed.flagArgumentDouble("-startTime", 0);
        }
        settings.endFrame = settings.startFrame;
        if (parsed.isFlagSet("-endTime")) {
            settings.endFrame = parsed.flagArgumentDouble("-endTime", 0);
        }
        if (settings.endFrame < settings.startFrame) {
            return failWith("the end time is before the start time");
        }
        settings.camera = lookThroughCamera();
        if (parsed.isFlagSet("-camera")) {
            const MString name = parsed.flagArgumentString("-camera", 0);
            if (!findCamera(name, settings.camera)) {
                return failWith(std::string(name.asChar()) + " is not a camera");
            }
        }
        renderResolution(settings.width, settings.height);
        if (parsed.isFlagSet("-width")) {
            settings.width = parsed.flagArgumentInt("-width", 0);
        }
        if (parsed.isFlagSet("-height")) {
            settings.height = parsed.flagArgumentInt("-height", 0);
        }
        if (settings.width <= 0 || settings.height <= 0) {
            return failWith("the width and height must be positive");
        }
        if (parsed.isFlagSet("-framePadding")) {
            settings.framePadding = parsed.flagArgumentInt("-framePadding", 0);
        }
        if (settings.framePadding < 1 || settings.framePadding > 9) {
            return failWith("the frame padding must be 1 to 9 digits");
        }

        std::vector<std::string> files;
        if (!playblast(settings, files)) {
            const int failed =
                static_cast<int>(std::lround(settings.startFrame)) + static_cast<int>(files.size());
            return failWith("cannot render or write " +
                            playblastFramePath(settings.prefix, failed, settings.framePadding));
        }
        setResult(MString(playblastPattern(settings.prefix, settings.framePadding).c_str()));
        return MStatus::kSuccess;
    }
};

const BuiltinCommandRegistrar playblastCommand("playblast", PlayblastCommand::creator,
                                               PlayblastCommand::newSyntax);

}  // namespace
}  // namespace host

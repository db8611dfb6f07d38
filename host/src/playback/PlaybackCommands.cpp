#include <host/Commands.h>
#include <host/Playback.h>
#include <host/Scene.h>
#include <host/Viewport.h>

#include <maya/MAnimControl.h>
#include <maya/MArgDatabase.h>
#include <maya/MPxCommand.h>

#include "playback/PlaybackState.h"

#include <string>
#include <utility>

// play, playbackOptions, and the host's own scrub.
namespace host {
namespace {

MStatus failWith(const MString& message) {
    MPxCommand::displayError(message);
    return MStatus::kFailure;
}

// play [-forward bool] [-state bool] [-wait]; -q -state, -q -forward.
// http://download.autodesk.com/global/docs/maya2014/en_us/CommandsPython/play.html
// Playback runs through the range before the command returns (see Playback.cpp), so -wait
// changes nothing and -state false has no playback to stop.
class PlayCommand : public MPxCommand {
public:
    static void* creator() { return new PlayCommand; }
    static MSyntax newSyntax() {
        MSyntax syntax;
        syntax.addFlag("-f", "-forward", MSyntax::kBoolean);
        syntax.addFlag("-st", "-state", MSyntax::kBoolean);
        syntax.addFlag("-w", "-wait");
        syntax.addFlag("-ps", "-playSound", MSyntax::kBoolean);
        syntax.enableQuery();
        return syntax;
    }

    MStatus doIt(const MArgList& args) override {
        MArgDatabase parsed(syntax(), args);
        if (parsed.isQuery()) {
            if (parsed.isFlagSet("-forward")) {
                setResult(playbackState().forward ? 1 : 0);
            } else {
                setResult(playbackState().playing ? 1 : 0);
            }
            return MStatus::kSuccess;
        }
        bool forward = true;
        if (parsed.isFlagSet("-forward")) {
            parsed.getFlagArgument("-forward", 0, forward);
        }
        bool start = true;
        if (parsed.isFlagSet("-state")) {
            parsed.getFlagArgument("-state", 0, start);
        }
        if (!start) {
            return MAnimControl::stop();
        }
        PlaybackReport report;
        const MStatus status = play(forward, report);
        if (!status) {
            return failWith("play: cannot play the playback range");
        }
        return status;
    }
};

const std::pair<const char*, MAnimControl::PlaybackMode> kLoops[] = {
    {"once", MAnimControl::kPlaybackOnce},
    {"continuous", MAnimControl::kPlaybackLoop},
    {"oscillate", MAnimControl::kPlaybackOscillate},
};

// playbackOptions: the playback and animation ranges, the step, the loop, the speeds.
// https://help.autodesk.com/cloudhelp/2020/ENU/Maya-Tech-Docs/Commands/playbackOptions.html
// Times are in the UI unit; a query of one flag answers it, times and speeds as floats.
class PlaybackOptionsCommand : public MPxCommand {
public:
    static void* creator() { return new PlaybackOptionsCommand; }
    static MSyntax newSyntax() {
        MSyntax syntax;
        syntax.addFlag("-min", "-minTime", MSyntax::kDouble);
        syntax.addFlag("-max", "-maxTime", MSyntax::kDouble);
        syntax.addFlag("-ast", "-animationStartTime", MSyntax::kDouble);
        syntax.addFlag("-aet", "-animationEndTime", MSyntax::kDouble);
        syntax.addFlag("-by", "-by", MSyntax::kDouble);
        syntax.addFlag("-l", "-loop", MSyntax::kString);
        syntax.addFlag("-ps", "-playbackSpeed", MSyntax::kDouble);
        syntax.addFlag("-mps", "-maxPlaybackSpeed", MSyntax::kDouble);
        syntax.addFlag("-fps", "-framesPerSecond");
        syntax.enableQuery();
        syntax.enableEdit();
        return syntax;
    }

    MStatus doIt(const MArgList& args) override {
        MArgDatabase parsed(syntax(), args);
        return parsed.isQuery() ? query(parsed) : edit(parsed);
    }

private:
    MStatus query(const MArgDatabase& parsed) {
        const PlaybackState& state = playbackState();
        const MTime::Unit unit = MTime::uiUnit();
        const std::pair<const char*, double> numbers[] = {
            {"-minTime", state.minTime.as(unit)},
            {"-maxTime", state.maxTime.as(unit)},
            {"-animationStartTime", state.animationStart.as(unit)},
            {"-animationEndTime", state.animationEnd.as(unit)},
            {"-by", state.by},
            {"-playbackSpeed", state.speed},
            {"-maxPlaybackSpeed", state.maxSpeed},
            // The rate playback aims at: the scene's times the speed (the measured rate of a
            // playback under way is not kept).
            {"-framesPerSecond", state.speed / MTime(1.0, unit).as(MTime::kSeconds)},
        };
        for (const auto& [flag, value] : numbers) {
            if (parsed.isFlagSet(flag)) {
                setResult(value);
                return MStatus::kSuccess;
            }
        }
        if (parsed.isFlagSet("-loop")) {
            for (const auto& [name, mode] : kLoops) {
                if (mode == state.mode) {
                    setResult(MString(name));
                }
            }
            return MStatus::kSuccess;
        }
        return failWith("playbackOptions: give the flag to query");
    }

    MStatus edit(const MArgDatabase& parsed) {
        PlaybackState changed = playbackState();
        const MTime::Unit unit = MTime::uiUnit();
        double value = 0.0;
        if (parsed.getFlagArgument("-minTime", 0, value)) {
            changed.minTime = MTime(value, unit);
        }
        if (parsed.getFlagArgument("-maxTime", 0, value)) {
            changed.maxTime = MTime(value, unit);
        }
        if (parsed.getFlagArgument("-animationStartTime", 0, value)) {
            changed.animationStart = MTime(value, unit);
        }
        if (parsed.getFlagArgument("-animationEndTime", 0, value)) {
            changed.animationEnd = MTime(value, unit);
        }
        if (parsed.getFlagArgument("-by", 0, value)) {
            if (!(value > 0.0)) {
                return failWith("playbackOptions: -by must be positive");
            }
            changed.by = value;
        }
        if (parsed.getFlagArgument("-playbackSpeed", 0, value)) {
            if (value < 0.0) {
                return failWith("playbackOptions: -playbackSpeed must not be negative");
            }
            changed.speed = value;
        }
        if (parsed.getFlagArgument("-maxPlaybackSpeed", 0, value)) {
            if (value < 0.0) {
                return failWith("playbackOptions: -maxPlaybackSpeed must not be negative");
            }
            changed.maxSpeed = value;
        }
        MString loop;
        if (parsed.getFlagArgument("-loop", 0, loop)) {
            bool known = false;
            for (const auto& [name, mode] : kLoops) {
                if (loop == name) {
                    changed.mode = mode;
                    known = true;
                }
            }
            if (!known) {
                return failWith("playbackOptions: -loop is once, continuous or oscillate");
            }
        }
        playbackState() = changed;
        return MStatus::kSuccess;
    }
};

// Host only: scrub TIME... drags the Time Slider through the times given (in the UI unit), a
// refresh at each, MAnimControl::isScrubbing() true throughout.
class ScrubCommand : public MPxCommand {
public:
    static void* creator() { return new ScrubCommand; }
    static MSyntax newSyntax() {
        MSyntax syntax;
        syntax.setObjectType(MSyntax::kStringObjects, 1);
        return syntax;
    }

    MStatus doIt(const MArgList& args) override {
        MArgDatabase parsed(syntax(), args);
        MStringArray times;
        parsed.getObjects(times);
        const ScrubScope scrubbing;
        for (unsigned int i = 0; i < times.length(); ++i) {
            if (!times[i].isDouble()) {
                return failWith("scrub: '" + times[i] + "' is not a time");
            }
            MStatus status = setCurrentTime(MTime(times[i].asDouble(), MTime::uiUnit()));
            if (status) {
                status = refresh();
            }
            if (!status) {
                return status;
            }
        }
        return MStatus::kSuccess;
    }
};

const BuiltinCommandRegistrar playCommand("play", PlayCommand::creator, PlayCommand::newSyntax);
const BuiltinCommandRegistrar playbackOptionsCommand("playbackOptions",
                                                     PlaybackOptionsCommand::creator,
                                                     PlaybackOptionsCommand::newSyntax);
const BuiltinCommandRegistrar scrubCommand("scrub", ScrubCommand::creator, ScrubCommand::newSyntax);

}  // namespace
}  // namespace host

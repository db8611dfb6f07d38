#include "cmd/SoundImport.h"

#include "cmd/ImportProgress.h"
#include "decode/SoundFileName.h"
#include "decode/SoundTrack.h"
#include "footage/MediaKind.h"
#include "node/CineSheet.h"
#include "node/MelString.h"
#include "node/WorkspacePath.h"

#include <maya/MFnDependencyNode.h>
#include <maya/MGlobal.h>
#include <maya/MPlug.h>
#include <maya/MSelectionList.h>
#include <maya/MTime.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <future>
#include <string>
#include <system_error>

namespace {

// Frames per second of the scene's current time unit.
double sceneFrameRate() {
    return 1.0 / MTime(1.0, MTime::uiUnit()).as(MTime::kSeconds);
}

void warn(const std::string& message) {
    MGlobal::displayWarning(MString(("cineSheet: " + message).c_str()));
}

std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

MString melResult(const std::string& command) {
    MString result;
    return MGlobal::executeCommand(MString(command.c_str()), result, false, false) ? result
                                                                                   : MString();
}

// The project's folder for sound, made when missing: where its "sound" file rule points
// (workspace -fileRuleEntry; the first of several locations), "sound" when the project has no
// such rule, as Maya's default project has it. Empty when it cannot be made.
std::string soundFolder() {
    std::string rule = melResult("workspace -fileRuleEntry \"sound\"").asChar();
    rule = rule.substr(0, rule.find(':'));
    if (rule.empty()) {
        rule = "sound";
    }
    const std::string folder = melResult("workspace -expandName " +
                                         melString(MString(rule.c_str()).expandFilePath().asChar()))
                                   .asChar();
    if (folder.empty() || folder[0] != '/') {
        return "";
    }
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    return std::filesystem::is_directory(folder, error) ? folder : "";
}

// The WAV file's name as the audio node keeps it: relative to the project's root when inside
// it, as Maya stores a project's files, so that a project moved elsewhere finds its sound.
std::string storedPath(const std::string& wavPath) {
    const MString relative = melResult("workspace -projectPath " + melString(wavPath));
    return relative.length() > 0 ? relative.asChar() : wavPath;
}

// Decodes the sound on a worker while the main thread shows the progress and passes on the
// user's cancel; the worker touches no Maya API. A cancel that comes as the worker finishes still
// cancels the import: the user asked for no sound.
video::SoundTrack extractWithProgress(const std::string& clip, const std::string& wavPath) {
    video::SoundProgress progress;
    auto work = std::async(std::launch::async,
                           [&] { return video::extractSoundTrack(clip, wavPath, &progress); });
    ImportProgress shown("reading the sound of \"" + clip + "\"");
    do {
        shown.show(progress.percent);
        if (shown.cancelled()) {
            progress.cancel = true;
        }
    } while (work.wait_for(std::chrono::milliseconds(100)) != std::future_status::ready);
    video::SoundTrack track = work.get();
    if (progress.cancel) {
        track.outcome = video::SoundOutcome::kCancelled;
    } else if (track.outcome == video::SoundOutcome::kWritten) {
        shown.show(100);
    }
    return track;
}

// A node name made of the file's name: letters, digits and '_', not starting with a digit.
std::string nodeNameFor(const std::string& wavPath) {
    std::string name = std::filesystem::path(wavPath).stem().string();
    for (char& c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c))) {
            c = '_';
        }
    }
    if (name.empty() || std::isdigit(static_cast<unsigned char>(name[0]))) {
        name.insert(0, "_");
    }
    return name;
}

// Where the sound goes on the timeline, in the scene's time unit. The plane shows video frame
// n at scene frame frameOffset + n, and from a start limit on only: the sound starts where the
// first shown frame is shown, from that frame's place in the file, and ends after the last
// shown frame.
struct Placement {
    double offset = 0.0;
    double sourceStart = 0.0;
    double sourceEnd = -1.0;  // -1: to the end of the sound
};

Placement placementOf(const MObject& shape, double soundLength) {
    const int frameOffset = MPlug(shape, CineSheet::aFrameOffset).asInt();
    const int startFrame = MPlug(shape, CineSheet::aStartFrame).asInt();
    const int endFrame = MPlug(shape, CineSheet::aEndFrame).asInt();
    Placement placement;
    placement.sourceStart = std::min<double>(std::max(startFrame, 0), soundLength);
    placement.offset = frameOffset + placement.sourceStart;
    if (endFrame > 0) {
        // In double: the frame after the largest end frame is past an int.
        placement.sourceEnd =
            std::clamp(static_cast<double>(endFrame) + 1.0, placement.sourceStart, soundLength);
    }
    return placement;
}

// In an interactive session the time slider is given the sound, so that scrubbing and playing
// are heard and its waveform is drawn; a batch session has no slider.
void showOnTimeSlider(const MString& audio) {
    if (MGlobal::mayaState() != MGlobal::kInteractive) {
        return;
    }
    const std::string command =
        "global string $gPlayBackSlider; if (`exists timeControl` && $gPlayBackSlider != \"\") "
        "timeControl -edit -displaySound true -sound " +
        melString(audio.asChar()) + " $gPlayBackSlider;";
    MGlobal::executeCommand(MString(command.c_str()), false, false);
}

void warnOfDrift(const MObject& shape, const std::string& clip, double videoFrameRate) {
    const double sceneRate = sceneFrameRate();
    if (MPlug(shape, CineSheet::aForceFrameRate).asBool() || videoFrameRate <= 0.0 ||
        std::fabs(videoFrameRate - sceneRate) < 0.01) {
        return;
    }
    warn("\"" + clip + "\" runs at " + number(std::round(videoFrameRate * 1000) / 1000) +
         " frames per second and the scene at " + number(std::round(sceneRate * 1000) / 1000) +
         ": its sound keeps the clip's speed while the plane shows one frame per scene frame, "
         "so they drift apart; turn on forceFrameRate to play the pictures at the clip's speed");
}

void warnOfLength(const std::string& clip, const video::SoundTrack& track) {
    const double gigabytes = track.seconds * track.sampleRate * track.channels * 2 / 1e9;
    warn("the sound of \"" + clip + "\" is too long for a WAV file: " +
         number(std::round(track.seconds * 10) / 10) + " s of " + std::to_string(track.sampleRate) +
         " Hz " + (track.channels == 1 ? "mono" : "stereo") + " sound would take " +
         number(std::round(gigabytes * 10) / 10) +
         " GB, and a WAV file holds at most 4 GB, so it is not imported");
}

// The audio node's offset and start are driven by the plane, so that the sound stays in step
// when frameOffset or startFrame change, through undo, saving and opening, with nothing of the
// plug-in's own listening for changes. Its end stays where the import put it.
bool followPlane(const MObject& shape, const MObject& audio, MDGModifier& links) {
    const MFnDependencyNode audioFn(audio);
    return links.connect(MPlug(shape, CineSheet::aSoundOffset), audioFn.findPlug("offset", true)) &&
           links.connect(MPlug(shape, CineSheet::aSoundStart),
                         audioFn.findPlug("sourceStart", true)) &&
           links.doIt();
}

}  // namespace

MString SoundImport::make(const MObject& shape) {
    const MString file = MPlug(shape, CineSheet::aFile).asString();
    const std::string clip = footagePath(file, workspaceRoot()).asChar();
    if (clip.empty()) {
        warn("the plane shows no file, so there is no sound to import");
        return "";
    }
    if (!isVideoPath(clip)) {
        warn("\"" + clip + "\" is not a video file, so there is no sound to import");
        return "";
    }
    const std::string folder = soundFolder();
    const std::string wavPath = folder.empty() ? "" : video::soundFilePath(folder, clip);
    if (wavPath.empty()) {
        warn("the project's sound folder cannot be made or read, so the sound of \"" + clip +
             "\" cannot be written");
        return "";
    }
    const video::SoundTrack track = extractWithProgress(clip, wavPath);
    switch (track.outcome) {
        case video::SoundOutcome::kWritten:
            break;
        case video::SoundOutcome::kCancelled:
            warn("the import of the sound of \"" + clip + "\" was cancelled");
            return "";
        case video::SoundOutcome::kNoSound:
            warn("\"" + clip + "\" has no sound");
            return "";
        case video::SoundOutcome::kUnreadable:
            warn("the sound of \"" + clip + "\" cannot be read");
            return "";
        case video::SoundOutcome::kNotWritten:
            warn("the sound of \"" + clip + "\" cannot be written to \"" + wavPath + "\"");
            return "";
        case video::SoundOutcome::kTooLong:
            warnOfLength(clip, track);
            return "";
        case video::SoundOutcome::kRateTooHigh:
            warn("the sound of \"" + clip + "\" has a sample rate of " +
                 std::to_string(track.sampleRate) +
                 " Hz, more than a WAV file can describe, so it is not imported");
            return "";
    }

    const double soundLength =
        MTime(static_cast<double>(track.sampleFrames) / track.sampleRate, MTime::kSeconds)
            .as(MTime::uiUnit());
    const Placement placement = placementOf(shape, soundLength);
    std::string command = "sound -file " + melString(storedPath(track.wavPath)) + " -offset " +
                          number(placement.offset) + " -name " +
                          melString(nodeNameFor(track.wavPath));
    if (placement.sourceStart > 0.0) {
        command += " -sourceStart " + number(placement.sourceStart);
    }
    if (placement.sourceEnd >= 0.0) {
        command += " -sourceEnd " + number(placement.sourceEnd);
    }
    // Not on the undo queue by itself: the command that called make undoes it with remove.
    MString audioName;
    MSelectionList list;
    MObject audio;
    MDGModifier links;
    if (!MGlobal::executeCommand(MString(command.c_str()), audioName, false, false) ||
        !list.add(audioName) || !list.getDependNode(0, audio) || !removal_.deleteNode(audio) ||
        !followPlane(shape, audio, links)) {
        // A node made but not tied to the plane is taken away again.
        removal_.doIt();
        warn("no audio node could be made for \"" + track.wavPath + "\"");
        return "";
    }
    if (!track.aligned) {
        warn("the sound of \"" + clip + "\" carries no time stamps to place it by, so " +
             audioName.asChar() + " starts with the first picture of " +
             MFnDependencyNode(shape).name().asChar() + " and may be out of step with it");
    }
    made_ = true;
    showOnTimeSlider(audioName);
    warnOfDrift(shape, clip, track.videoFrameRate);
    return audioName;
}

MStatus SoundImport::remove() {
    return made_ ? removal_.doIt() : MStatus::kSuccess;
}

MStatus SoundImport::restore() {
    return made_ ? removal_.undoIt() : MStatus::kSuccess;
}

#include "footage/Footage.h"

#include "decode/MediaContent.h"
#include "decode/VideoSource.h"
#include "footage/FileProbe.h"
#include "footage/MediaKind.h"
#include "picture/HeldFrameMark.h"
#include "picture/PendingFrameMark.h"
#include "sequence/SequencePattern.h"

#include <algorithm>
#include <climits>
#include <optional>
#include <string>
#include <vector>

namespace {

// Frame number of the video at the scene frame, when the node plays the video at its own rate.
int videoFrameAt(int sceneFrame, double videoFrameRate, double sceneFrameRate) {
    const double frame = videoFrameRate / sceneFrameRate * sceneFrame;
    return static_cast<int>(
        std::clamp(frame, static_cast<double>(INT_MIN), static_cast<double>(INT_MAX)));
}

LoadedMedium mediumOf(const VideoCache& video) {
    const std::vector<int> starts = video.blockStarts();
    return LoadedMedium{video.frameWidth(), video.frameHeight(), video.pixelAspect(),
                        starts.size() >= 2 ? starts[1] - starts[0] : 0, video.texelFormat()};
}

// The file that holds the frame: the sequence's numbered file, or the path itself (a video's
// name is never a pattern).
std::string fileOfFrame(const std::string& path, int frame) {
    if (isVideoPath(path)) {
        return path;
    }
    return video::SequencePattern(path).fileOf(frame);
}

// Hands `show` a copy of the held picture marked as standing in for another frame.
bool showMarked(const Footage::PictureUse& show, const video::HeldFrame& held,
                const LoadedMedium& medium, int divisor) {
    const unsigned char* pixels = held.pixels->pixels();
    std::vector<unsigned char> marked(pixels, pixels + static_cast<size_t>(held.width) *
                                                           static_cast<size_t>(held.height) *
                                                           decode::bytesPerTexel(held.format));
    video::drawPendingFrameMark(marked.data(), held.width, held.height, held.format);
    return show(marked.data(), medium, divisor);
}

}  // namespace

Footage::Footage(const FootageHost& host)
    : showError_(host.showError),
      warnings_(host.showWarning),
      video_(host.lateWorkDone),
      sequence_(host.lateWorkDone, host.readImage) {}

std::string Footage::fileShown(const std::string& path, int frame) {
    return fileOfFrame(path, frame);
}

bool Footage::loadedVideo(const std::string& path) const {
    return loaded_ == &video_ && loadedPath_ == path;
}

bool Footage::loadedSequence(const std::string& pattern) const {
    return loaded_ == &sequence_ && loadedPath_ == pattern;
}

bool Footage::loadedNothing() const {
    return loaded_ == nullptr;
}

int Footage::keyframeInterval() const {
    return loaded_ == &video_ ? mediumOf(video_).keyframeInterval : 0;
}

void Footage::reload() {
    unload();
    openedStamp_.reset();
}

void Footage::load(video::FrameSource& source, const std::string& path) {
    unload();
    source.open(path);
    loaded_ = &source;
    loadedPath_ = path;
}

void Footage::unload() {
    if (loaded_) {
        loaded_->close();
    }
    loaded_ = nullptr;
}

std::string Footage::whyMissing(const std::string& path, const std::string& frameFile) const {
    const video::SequencePattern pattern(path);
    if (!pattern.numbered() || pathExists(frameFile)) {
        return whyUnreadable(frameFile);
    }
    if (loadedSequence(path) || pattern.framesOnDisk()) {
        return std::string();
    }
    const std::string::size_type slash = pattern.text().rfind('/');
    return "no frames match " +
           (slash == std::string::npos ? pattern.text() : pattern.text().substr(slash + 1));
}

const std::string& Footage::whyUnreadableImage(const std::string& file) {
    // Asked at every refresh while the frame stays unreadable: the file is looked into once.
    if (file != unreadableFile_) {
        video::VideoSource probe;
        unreadableFile_ = file;
        if (probe.open(file)) {
            unreadableReason_ =
                "holds a video, not an image: give it a video extension such as .mp4 to play it";
        } else if (const std::string picture = video::pictureContent(file); !picture.empty()) {
            unreadableReason_ = "cannot be decoded as a " + picture + " image";
        } else {
            unreadableReason_ =
                probe.failure().empty() ? "not a video or image FFmpeg can read" : probe.failure();
        }
    }
    return unreadableReason_;
}

FootageResult Footage::frameFor(const FootageRequest& request, const PictureUse& show) {
    const std::string file = fileOfFrame(request.path, request.frame);
    const bool video = isVideoPath(request.path);
    if (!probe_.isReadableRegularFile(file)) {
        if (!video) {
            const std::optional<FootageResult> handle = handleFrame(request, show);
            if (handle) {
                return *handle;
            }
            const FootageResult held = heldFrameFor(request, show);
            if (held.answer != FootageAnswer::kMissing) {
                return held;
            }
        }
        FootageResult missing{FootageAnswer::kMissing, LoadedMedium{}, request.divisor};
        missing.reason = whyMissing(request.path, file);
        // A frame missing from the sequence shown leaves its other frames held.
        if (!loadedSequence(request.path)) {
            unload();
        }
        return missing;
    }
    if (video) {
        return videoFrame(request, show);
    }
    const FootageResult result = sequenceFrame(request, show);
    if (result.answer == FootageAnswer::kUnreadable) {
        const FootageResult held = heldFrameFor(request, show);
        if (held.answer != FootageAnswer::kMissing) {
            return held;
        }
    }
    return result;
}

std::optional<FootageResult> Footage::handleFrame(const FootageRequest& request,
                                                  const PictureUse& show) {
    const std::optional<video::FrameWindow> files =
        video::SequencePattern(request.path).framesOnDisk();
    if (!files || files->contains(request.frame)) {
        return std::nullopt;
    }
    FootageRequest endRequest = request;
    endRequest.frame = request.frame < files->first ? files->first : files->last;
    if (request.holdEndFrames) {
        FootageResult result = sequenceFrame(endRequest, show);
        // Looked at again at every refresh: a file that comes shows at once.
        result.held = true;
        return result.answer == FootageAnswer::kUnreadable ? std::nullopt
                                                           : std::optional<FootageResult>(result);
    }
    FootageResult result = sequenceFrame(
        endRequest, [](const unsigned char*, const LoadedMedium&, int) { return true; });
    if (result.answer == FootageAnswer::kUnreadable) {
        return std::nullopt;
    }
    if (result.answer != FootageAnswer::kNotInTime) {
        result.answer = FootageAnswer::kBlank;
    }
    result.mediaFrame = request.frame;
    return result;
}

FootageResult Footage::heldFrameFor(const FootageRequest& request, const PictureUse& show) {
    const FootageResult none{FootageAnswer::kMissing, LoadedMedium{}, request.divisor};
    const video::SequencePattern pattern(request.path);
    const std::optional<int> held = pattern.heldFrameFor(request.frame);
    if (!held) {
        return none;
    }
    FootageRequest heldRequest = request;
    heldRequest.frame = *held;
    std::vector<unsigned char> marked;
    FootageResult result = sequenceFrame(
        heldRequest, [&](const unsigned char* pixels, const LoadedMedium& medium, int divisor) {
            marked.assign(pixels, pixels + static_cast<size_t>(medium.frameWidth) *
                                               static_cast<size_t>(medium.frameHeight) *
                                               decode::bytesPerTexel(medium.texelFormat));
            video::drawHeldFrameMark(marked.data(), medium.frameWidth, medium.frameHeight,
                                     medium.texelFormat);
            return show(marked.data(), medium, divisor);
        });
    if (result.answer == FootageAnswer::kUnreadable) {
        return none;
    }
    result.held = true;
    const std::string file = pattern.fileOf(request.frame);
    if (probe_.isReadableRegularFile(file)) {
        heldWarning_.unreadable(file, *held);
    } else {
        heldWarning_.missing(file, *held);
    }
    return result;
}

FootageResult Footage::videoFrame(const FootageRequest& request, const PictureUse& show) {
    video_.setResolutionDivisor(request.divisor);
    video_.setDepth(request.depth);
    // A video closed since, found unplayable, or replaced on disk since it was opened (looked at
    // when the frame changes: a stat, no read) is opened anew.
    const bool replaced = request.checkFile && loadedVideo(request.path) &&
                          video::currentFileStamp(request.path) != openedStamp_;
    if (!loadedVideo(request.path) || replaced ||
        video_.openState() == VideoCache::OpenState::kClosed) {
        // A file opened anew may end elsewhere, or not early at all.
        warnings_.clear(WarningTopic::kEndedEarly);
        openedStamp_ = video::currentFileStamp(request.path);
        load(video_, request.path);
        if (!video_.workerStarted()) {
            showError_("Failed to start caching thread. Video frame caching is not available!");
        }
    }
    switch (video_.awaitOpen(request.openDeadline.value_or(request.deadline))) {
        case VideoCache::OpenState::kOpening: {
            // Its shape is not known yet; the worker asks for a refresh once it is open.
            FootageResult opening{FootageAnswer::kNotInTime, LoadedMedium{}, request.divisor};
            opening.late = true;
            return opening;
        }
        case VideoCache::OpenState::kClosed:
        case VideoCache::OpenState::kFailed: {
            FootageResult failed{FootageAnswer::kPlaceholder, LoadedMedium{}, request.divisor};
            failed.reason = video_.openFailure();
            if (failed.reason.empty()) {
                failed.reason = "not a video or image FFmpeg can read";
            }
            unload();
            return failed;
        }
        case VideoCache::OpenState::kOpen:
            break;
    }
    const LoadedMedium medium = mediumOf(video_);
    FootageResult result{FootageAnswer::kBlank, medium, request.divisor};
    int frame = request.frame;
    if (request.sceneFrameRate > 0.0 && video_.videoFrameRate() > 0.0) {
        frame = videoFrameAt(frame, video_.videoFrameRate(), request.sceneFrameRate);
    }
    result.mediaFrame = frame;
    const video::HeldFrame standIn = video_.nearestHeld(frame);
    CachingJob job;
    if (!video_.addBlockCachingJob(frame, request.cacheFrames, job)) {
        // Outside the clip there is no picture: the blank one is the right one, unless the file
        // was cut short before the frame.
        return endedEarly(result);
    }
    bool handed = false;
    const bool shown = video_.awaitFrame(
        job,
        [&](const unsigned char* pixels) {
            handed = true;
            return show(pixels, medium, request.divisor);
        },
        request.deadline);
    if (!shown && video_.awaitListing(std::chrono::steady_clock::now())) {
        // Asked for while the scan was still listing the file, and found past its end.
        const std::vector<int> starts = video_.blockStarts();
        if (frame >= starts[starts.size() - 1]) {
            return endedEarly(result);
        }
    }
    if (!shown && video_.lostToEarlyEnd(frame)) {
        return endedEarly(result);
    }
    // A frame that did not come, or whose upload failed, is asked for again.
    result.answer = shown ? FootageAnswer::kShown : FootageAnswer::kNotInTime;
    result.late = !handed;
    return result.late ? standInFor(result, standIn, show) : result;
}

FootageResult Footage::standInFor(FootageResult result, const video::HeldFrame& standIn,
                                  const PictureUse& show) {
    if (standIn.frame >= 0 && showMarked(show, standIn, result.medium, result.divisor)) {
        result.answer = FootageAnswer::kShown;
        result.held = true;
        result.standIn = standIn.frame;
    }
    return result;
}

FootageResult Footage::endedEarly(FootageResult result) const {
    if (video_.lostToEarlyEnd(result.mediaFrame)) {
        result.answer = FootageAnswer::kEndedEarly;
        result.reason = "file ended early at frame " + std::to_string(video_.endedEarlyAt());
    }
    return result;
}

FootageResult Footage::sequenceFrame(const FootageRequest& request, const PictureUse& show) {
    if (!loadedSequence(request.path)) {
        load(sequence_, request.path);
    }
    sequence_.setWindow(request.cacheFrames);
    sequence_.setDepth(request.depth);
    FootageResult result{FootageAnswer::kShown, LoadedMedium{}, 1, request.frame};
    const video::HeldFrame standIn = sequence_.nearestHeld(request.frame);
    auto showFrame = [&](video::SequenceFrame image) {
        // Every image is a block of one frame.
        result.medium = LoadedMedium{image.width, image.height, AVRational{1, 1}, 1, image.format};
        return show(image.pixels, result.medium, 1);
    };
    switch (sequence_.show(request.frame, request.checkFile, showFrame, request.deadline)) {
        case video::SequenceAnswer::kShown:
            break;
        case video::SequenceAnswer::kNotShown:
            result.answer = FootageAnswer::kNotShown;
            break;
        case video::SequenceAnswer::kUnreadable:
            result.answer = FootageAnswer::kUnreadable;
            result.reason = whyUnreadableImage(fileOfFrame(request.path, request.frame));
            break;
        case video::SequenceAnswer::kNotInTime:
            result.answer = FootageAnswer::kNotInTime;
            result.late = true;
            if (standIn.frame >= 0) {
                result.medium = LoadedMedium{standIn.width, standIn.height, AVRational{1, 1}, 1,
                                             standIn.format};
            }
            return standInFor(result, standIn, show);
    }
    return result;
}

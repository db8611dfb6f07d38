#pragma once

#include "cache/VideoCache.h"
#include "footage/FileProbe.h"
#include "footage/FootageHost.h"
#include "footage/HeldFrameWarning.h"
#include "footage/LoadedMedium.h"
#include "footage/NodeWarnings.h"
#include "sequence/SequenceCache.h"

#include <chrono>
#include <functional>
#include <optional>
#include <string>

// A request for the picture of one refresh.
struct FootageRequest {
    // As the file is read: environment variables expanded, a relative path put in the workspace.
    std::string path;
    int frame = 0;
    // The scene's frame rate when the video is played at its own rate, 0 to show it frame for
    // frame.
    double sceneFrameRate = 0.0;
    int divisor = 1;  // video frames are kept and shown at 1/divisor of their size: 1, 2 or 4
    decode::CacheDepth depth = decode::CacheDepth::kAuto;
    int cacheFrames = 0;
    // Show a sequence's nearest end file at frames outside its files, rather than nothing.
    bool holdEndFrames = false;
    // Read the frame again if its file changed since it was read (sequences).
    bool checkFile = true;
    // Until when the drawing thread waits for the frame to come, and for the file to open (as
    // long as for the frame unless said).
    std::chrono::steady_clock::time_point deadline;
    std::optional<std::chrono::steady_clock::time_point> openDeadline;
};

// What became of a request.
enum class FootageAnswer {
    kShown,        // the picture was handed over and shown
    kNotShown,     // it was handed over and could not be shown: show a blank picture
    kBlank,        // the footage has no picture at that frame: show a blank picture
    kPlaceholder,  // the file cannot be played: show the placeholder
    kUnreadable,   // the frame's file cannot be read now: show the placeholder and ask again
    kMissing,      // there is no such file: show the placeholder
    // The video file ends before the frame (it was cut short): show the placeholder; the
    // reason says where it ends.
    kEndedEarly,
    // The file is still opening or the picture did not come in time: its worker asks for a
    // refresh once it is there.
    kNotInTime,
};

struct FootageResult {
    FootageAnswer answer = FootageAnswer::kMissing;
    // The shape of what is loaded and the divisor its frames come at, for blank pictures.
    LoadedMedium medium;
    int divisor = 1;
    // The frame of the file asked for: a video's picture number (from 0, after a forced rate),
    // a sequence's file number; −1 when none.
    int mediaFrame = -1;
    // Another frame stands in for the one asked for, which is looked for again at every refresh.
    bool held = false;
    // The file did not open, or the frame did not come, by the deadline (it did not fail).
    bool late = false;
    // The frame of the file shown, marked, in place of mediaFrame while that one is decoded or
    // read (held is set too); −1 when none stands in.
    int standIn = -1;
    // Why the footage cannot be shown (kPlaceholder, kUnreadable, kMissing), as the end of
    // "cannot show <file>: ..."; "" for a frame missing from a sequence that has others.
    std::string reason{};
};

// What one node shows: the video or image sequence loaded and the caches of its frames. Every
// drawn instance of the node asks the same footage for its pictures, so instances share the
// decoding and each only uploads. Calls come from the drawing thread.
class Footage {
public:
    explicit Footage(const FootageHost& host);
    ~Footage() = default;
    Footage(const Footage&) = delete;
    Footage& operator=(const Footage&) = delete;

    // Hands the picture of the request to `show`, with the medium it belongs to and the divisor
    // it comes at; the pixels are RGBA in the medium's texel format, rows packed, top row first,
    // and stay valid during the call only. Has the file loaded first when it is not the one loaded.
    using PictureUse =
        std::function<bool(const unsigned char* pixels, const LoadedMedium& medium, int divisor)>;
    FootageResult frameFor(const FootageRequest& request, const PictureUse& show);

    // Drops everything loaded and cached: the next request reads its file anew.
    void reload();

    // Whether a video or a sequence is loaded, and which.
    bool loadedVideo(const std::string& path) const;
    bool loadedSequence(const std::string& pattern) const;
    bool loadedNothing() const;
    // The length of the loaded video's first block; 0 while none is known (the video opens on
    // its worker).
    int keyframeInterval() const;
    // For the node's readout: the frames of the loaded clip held now, and the timecode of a
    // video frame (empty when the file has none, or for a sequence).
    video::CachedFrames cachedFrames() const;
    std::string timecodeOf(int mediaFrame) const;
    // The file that holds the frame: the sequence's numbered file, or the path itself.
    static std::string fileShown(const std::string& path, int frame);
    // The caches, for looking at what they hold.
    const VideoCache& video() const { return video_; }
    VideoCache& video() { return video_; }
    const video::SequenceCache& sequence() const { return sequence_; }
    // The node's warnings, one standing per topic; the caches' threads may warn too.
    NodeWarnings& warnings() { return warnings_; }

private:
    FootageResult videoFrame(const FootageRequest& request, const PictureUse& show);
    // The result as it stands, unless its video frame is lost to the file ending early: then
    // kEndedEarly, with the reason.
    FootageResult endedEarly(FootageResult result) const;
    FootageResult sequenceFrame(const FootageRequest& request, const PictureUse& show);
    // The frame of the sequence on disk nearest before the one asked for (else after it), shown
    // crossed in red in its place; kMissing when there is none or it cannot be read either.
    FootageResult heldFrameFor(const FootageRequest& request, const PictureUse& show);
    // A frame before the sequence's first file or after its last (a handle) is no error: it
    // shows nothing, at the shape of the sequence's frames, or the nearest end file when the
    // request holds them. None for a frame inside the files, or when the end file cannot be read.
    std::optional<FootageResult> handleFrame(const FootageRequest& request, const PictureUse& show);
    // A frame that did not come in time: `standIn`, the frame nearest to it the cache held when
    // it was asked for, is shown in its place, marked as not yet the one asked for; the result
    // as it stands when none was held.
    FootageResult standInFor(FootageResult result, const video::HeldFrame& standIn,
                             const PictureUse& show);
    // Has `source` read the file from now on, in place of what was loaded.
    void load(video::FrameSource& source, const std::string& path);
    void unload();
    // Why the frame's file cannot be read (see FootageResult::reason).
    std::string whyMissing(const std::string& path, const std::string& frameFile) const;
    // Why the image file that neither FFmpeg nor the host could read is no picture.
    const std::string& whyUnreadableImage(const std::string& file);

    const std::function<void(const std::string& text)> showError_;
    NodeWarnings warnings_;
    VideoCache video_;
    video::SequenceCache sequence_;
    // The cache of the file loaded (null when none is) and its path, a sequence's pattern: the
    // other cache holds nothing.
    video::FrameSource* loaded_ = nullptr;
    std::string loadedPath_;
    // What the loaded video's file was when it was opened.
    std::optional<video::FileStamp> openedStamp_;
    FileProbe probe_;
    HeldFrameWarning heldWarning_{warnings_};
    // The last file whyUnreadableImage looked into, and what it found.
    std::string unreadableFile_;
    std::string unreadableReason_;
};

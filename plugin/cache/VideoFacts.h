#pragma once

extern "C" {
#include <libavutil/pixfmt.h>
#include <libavutil/rational.h>
}

#include <string>

// Where the file asked for stands.
enum class VideoOpenState { kClosed, kOpening, kOpen, kFailed };

// What is known of the open file, as the drawing thread reads it.
struct VideoFacts {
    VideoOpenState openState = VideoOpenState::kClosed;
    // Why the open failed.
    std::string failure;
    // The file's packets are still being scanned: frames past the blocks may still come.
    bool scanning = false;
    int streamIndex = -1;
    // The size of the pictures as shown (a video turned upright), and the shape of their pixels.
    int frameWidth = 0;
    int frameHeight = 0;
    AVRational pixelAspect{1, 1};
    double videoFrameRate = 0.0;
    // The file's timecode of its first picture; empty when it has none.
    std::string startTimecode;
    // The frames the file's index declares when the file was cut short (see
    // VideoSource::framesDeclared), 0 otherwise.
    int framesDeclared = 0;
    // The pixel format the pictures decode to (none while closed).
    AVPixelFormat pictureFormat = AV_PIX_FMT_NONE;
};

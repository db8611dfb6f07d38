#pragma once

#include "sequence/SequenceCache.h"

#include <functional>
#include <string>

// What the footage asks of the application it is shown in, handed in by the layer that knows it.
struct FootageHost {
    // From any thread: a file or frame the drawing thread stopped waiting for is ready, so the
    // viewports are to be drawn again.
    std::function<void()> lateWorkDone;
    // From the drawing thread: reads an image file FFmpeg cannot.
    video::HostImageRead readImage;
    // From any thread: shows one of a node's warnings.
    std::function<void(const std::string& line)> showWarning;
    // From the drawing thread: shows an error.
    std::function<void(const std::string& text)> showError;
};

#pragma once

#include <maya/MFrameContext.h>

#include <chrono>
#include <string>

// How a viewport refresh waits for the frames it draws, told by what Maya says of it.
enum class RefreshKind {
    // An artist's viewport, standing, scrubbed or playing in real time: the drawing thread,
    // Maya's main thread, waits a short while at most; a frame not there by then is replaced by
    // the nearest one held, and the exact one follows through a refresh of its own.
    kInteractive,
    // Playing every frame (playback speed 0): Maya shows each frame before the next, so each is
    // waited for, as long as a playblast would.
    kEveryFrame,
    // A playblast, a render to an image, or a session no artist watches (batch, a library
    // application): only the exact frame will do, and nothing comes after.
    kExact,
};

// The kind of the refresh drawing through `context`; main thread only.
RefreshKind refreshKindOf(const MHWRender::MFrameContext& context);

// How long a refresh of the kind may wait for frames, all nodes together: the frame wait
// (CINESHEET_FRAME_WAIT_MS) unless interactive; interactive, one frame at the scene's rate while
// playing, else the interactive wait. Main thread only.
std::chrono::milliseconds refreshWaitFor(RefreshKind kind);

// The interactive wait chosen and what the user is to be told about their setting.
struct InteractiveWaitChoice {
    std::chrono::milliseconds wait{0};
    // Empty when the setting was used as given, or not given.
    std::string warning;
};

// The longest wait of an interactive refresh standing or scrubbed: `setting` is the value of
// the environment variable CINESHEET_INTERACTIVE_WAIT_MS, whole milliseconds from 0 to 1000.
// Unset gives 100 ms; anything else is ignored with a warning.
InteractiveWaitChoice chooseInteractiveWait(const char* setting);

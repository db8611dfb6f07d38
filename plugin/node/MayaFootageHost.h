#pragma once

#include "footage/FootageHost.h"

// The footage's calls as Maya answers them: a viewport refresh and each warning queued for the
// main thread's idle time, MImage for images FFmpeg cannot read, and Maya's error line.
FootageHost mayaFootageHost();

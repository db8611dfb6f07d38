#pragma once

namespace video {

// The thread count for a video decoder: `setting` is the value of the environment variable
// CINESHEET_DECODER_THREADS (a whole number from 1 to 64); unset or anything else gives 0,
// FFmpeg's own choice from the machine's cores.
int decoderThreadCount(const char* setting);

}  // namespace video

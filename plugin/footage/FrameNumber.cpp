#include "footage/FrameNumber.h"

#include <cmath>
#include <limits>

int frameNumberAt(double timeValue, int frameOffset, int startFrame, int endFrame) {
    const double wanted = std::trunc(timeValue - static_cast<double>(frameOffset));
    // Converting a value outside int's range is undefined; such times name no real frame.
    int frame = -1;
    if (wanted >= std::numeric_limits<int>::min() && wanted <= std::numeric_limits<int>::max()) {
        frame = static_cast<int>(wanted);
    }
    if (startFrame > 0 && frame < startFrame) {
        frame = -1;
    }
    if (endFrame > 0 && frame > endFrame) {
        frame = -1;
    }
    return frame;
}

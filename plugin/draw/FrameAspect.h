#pragma once

#include "draw/LoadedMedium.h"

// Width over height of the loaded picture as it is meant to be seen: the frame size with each
// pixel stretched to its shape. The texture keeps the pixels as they are; the quad stretches.
inline double frameRatio(const LoadedMedium& medium) {
    return static_cast<double>(static_cast<long long>(medium.frameWidth) * medium.pixelAspect.num) /
           static_cast<double>(static_cast<long long>(medium.frameHeight) * medium.pixelAspect.den);
}

// The same in single precision, for the quad's half width (square pixels give exactly W / H).
inline float quadAspect(const LoadedMedium& medium) {
    return static_cast<float>(static_cast<long long>(medium.frameWidth) * medium.pixelAspect.num) /
           static_cast<float>(static_cast<long long>(medium.frameHeight) * medium.pixelAspect.den);
}

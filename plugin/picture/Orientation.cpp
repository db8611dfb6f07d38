#include "picture/Orientation.h"

#include <cstdlib>

namespace video {
namespace {

int signOf(int64_t value) {
    return (value > 0) - (value < 0);
}

const int32_t* displayMatrixOf(const AVStream& stream) {
    // Streams carry their side data in the codec parameters from FFmpeg 6.1 on; the stream's
    // own list is gone in FFmpeg 7.
#if LIBAVCODEC_VERSION_INT >= AV_VERSION_INT(60, 29, 100)
    const AVPacketSideData* entry =
        av_packet_side_data_get(stream.codecpar->coded_side_data,
                                stream.codecpar->nb_coded_side_data, AV_PKT_DATA_DISPLAYMATRIX);
    if (!entry || entry->size < 9 * sizeof(int32_t)) {
        return nullptr;
    }
    return reinterpret_cast<const int32_t*>(entry->data);
#else
    size_t size = 0;
    const uint8_t* data = av_stream_get_side_data(&stream, AV_PKT_DATA_DISPLAYMATRIX, &size);
    if (!data || size < 9 * sizeof(int32_t)) {
        return nullptr;
    }
    return reinterpret_cast<const int32_t*>(data);
#endif
}

}  // namespace

Orientation orientationFromDisplayMatrix(const int32_t matrix[9]) {
    // A stored point (p, q) is shown at (a·p + c·q, b·p + d·q) plus a shift, rows counted
    // downwards: (a, b) is where the stored x axis points on screen, (c, d) the y axis.
    const int64_t a = matrix[0];
    const int64_t b = matrix[1];
    const int64_t c = matrix[3];
    const int64_t d = matrix[4];
    if (a == 0 && b == 0) {
        return Orientation{};
    }
    // The x axis goes to the nearest screen axis; the y axis stands at right angles to it, on
    // the side the determinant gives (the other side is a mirror).
    int xToU = 0;
    int xToV = 0;
    if (std::llabs(a) >= std::llabs(b)) {
        xToU = signOf(a);
    } else {
        xToV = signOf(b);
    }
    const int handedness = a * d - b * c < 0 ? -1 : 1;
    const int yToU = -handedness * xToV;
    const int yToV = handedness * xToU;
    // Screen (u, v) = (xToU·p + yToU·q, xToV·p + yToV·q); that matrix is orthogonal, so its
    // inverse is its transpose.
    return Orientation{xToU, xToV, yToU, yToV};
}

UprightWalk uprightWalk(const Orientation& turn, int width, int height, int pixelBytes, int pitch) {
    const ptrdiff_t bytes = pixelBytes;
    const ptrdiff_t firstColumn = turn.columnOfU < 0 || turn.columnOfV < 0 ? width - 1 : 0;
    const ptrdiff_t firstRow = turn.rowOfU < 0 || turn.rowOfV < 0 ? height - 1 : 0;
    return UprightWalk{firstRow * pitch + firstColumn * bytes,
                       turn.columnOfU * bytes + turn.rowOfU * static_cast<ptrdiff_t>(pitch),
                       turn.columnOfV * bytes + turn.rowOfV * static_cast<ptrdiff_t>(pitch)};
}

Orientation streamOrientation(const AVStream& stream) {
    const int32_t* matrix = displayMatrixOf(stream);
    return matrix ? orientationFromDisplayMatrix(matrix) : Orientation{};
}

}  // namespace video

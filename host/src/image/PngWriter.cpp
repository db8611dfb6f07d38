#include "image/PngWriter.h"

#include "image/FfmpegHandles.h"

#include <cstdio>
#include <cstring>

namespace host {
namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

FramePtr makeFrame(const std::uint8_t* pixels, int width, int height, RowOrder order) {
    FramePtr frame(av_frame_alloc());
    if (!frame) {
        return nullptr;
    }
    frame->width = width;
    frame->height = height;
    frame->format = AV_PIX_FMT_RGBA;
    if (av_frame_get_buffer(frame.get(), 0) < 0) {
        return nullptr;
    }
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 4;
    for (int row = 0; row < height; ++row) {
        const int sourceRow = order == RowOrder::TopFirst ? row : height - 1 - row;
        std::memcpy(frame->data[0] + static_cast<std::ptrdiff_t>(frame->linesize[0]) * row,
                    pixels + rowBytes * sourceRow, rowBytes);
    }
    return frame;
}

}  // namespace

bool writeRgbaPng(const std::string& path, const std::uint8_t* pixels, int width, int height,
                  RowOrder order) {
    if (pixels == nullptr || width <= 0 || height <= 0) {
        return false;
    }
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_PNG);
    CodecContextPtr encoder(codec ? avcodec_alloc_context3(codec) : nullptr);
    if (!encoder) {
        return false;
    }
    encoder->width = width;
    encoder->height = height;
    encoder->pix_fmt = AV_PIX_FMT_RGBA;
    encoder->time_base = AVRational{1, 25};
    FramePtr frame = makeFrame(pixels, width, height, order);
    PacketPtr packet(av_packet_alloc());
    if (!frame || !packet || avcodec_open2(encoder.get(), codec, nullptr) < 0 ||
        avcodec_send_frame(encoder.get(), frame.get()) < 0 ||
        avcodec_receive_packet(encoder.get(), packet.get()) < 0) {
        return false;
    }
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
    if (!file) {
        return false;
    }
    const auto size = static_cast<std::size_t>(packet->size);
    return std::fwrite(packet->data, 1, size, file.get()) == size &&
           std::fclose(file.release()) == 0;
}

}  // namespace host

#include "CacheMedia.h"

#include "MediaCatalogue.h"

namespace cachetest {
namespace {

testsupport::MediaCatalogue& catalogue() {
    static testsupport::MediaCatalogue media({
        {"open_gop_mp4",
         {"opengop.mp4",
          "-f lavfi -i testsrc2=s=320x240:r=24 -t 3 -c:v libx264 -g 12 -bf 3 "
          "-x264-params open-gop=1:scenecut=0"}},
        // MPEG-TS, which has no index: its blocks come from a scan of the packets.
        {"blocks_of_12_ts",
         {"blocks12.ts",
          "-f lavfi -i testsrc2=s=160x120:r=24 -frames:v 120 -c:v libx264 -bf 2 -g 12 "
          "-keyint_min 12 -sc_threshold 0 -preset ultrafast"}},
        // Twenty blocks of exactly twelve frames, for the worker's window and eviction.
        {"blocks_of_12",
         {"blocks12.mp4",
          "-f lavfi -i testsrc2=s=320x240:r=24 -frames:v 240 -c:v libx264 -bf 2 -g 12 "
          "-keyint_min 12 -sc_threshold 0 -preset ultrafast"}},
        // H.264 with B-frames in AVI, which stores no presentation time stamps.
        {"h264_bframes_avi",
         {"h264bframes.avi",
          "-f lavfi -i testsrc2=s=96x64:r=24 -frames:v 48 -c:v libx264 -bf 3 -g 24 "
          "-pix_fmt yuv420p"}},
        // Paletted raw video: the palette comes once, with the first packet.
        {"pal8_avi",
         {"pal8.avi",
          "-f lavfi -i testsrc2=s=96x64:r=24 -frames:v 24 -c:v rawvideo -pix_fmt pal8"}},
        {"one_pixel",
         {"onepixel.mkv",
          "-f lavfi -i testsrc2=s=64x64:r=24 -frames:v 6 -vf scale=1:1 -c:v ffv1 -pix_fmt "
          "yuv444p"}},
        // A first block of one frame, then blocks of 48.
        {"short_first_block",
         {"shortfirst.mp4",
          "-f lavfi -i testsrc2=s=64x48:r=24 -frames:v 240 -c:v libx264 -g 48 -keyint_min 1 "
          "-sc_threshold 0 -force_key_frames 'expr:eq(n,1)' -pix_fmt yuv420p"}},
        // One block of 480 frames, as screen recordings and some cameras make.
        {"single_block",
         {"singleblock.mp4",
          "-f lavfi -i testsrc2=s=64x48:r=24 -frames:v 480 -c:v libx264 -g 1000 -keyint_min 1000 "
          "-sc_threshold 0 -bf 2 -pix_fmt yuv420p"}},
        // Footage as it comes from cameras and editorial at full size: intra-only ProRes 422
        // (10-bit 4:2:2) and MJPEG (full-range 4:2:2), one block per frame; and a short UHD
        // H.264 clip with B-frames in two blocks.
        {"prores422_1080_mov",
         {"prores422.mov",
          "-f lavfi -i testsrc2=s=1920x1080:r=24 -frames:v 24 -c:v prores_ks -profile:v 2 "
          "-pix_fmt yuv422p10le"}},
        {"mjpeg_1080_mov",
         {"mjpeg1080.mov",
          "-f lavfi -i testsrc2=s=1920x1080:r=24 -frames:v 24 -c:v mjpeg -q:v 3 -pix_fmt "
          "yuvj422p"}},
        {"h264_uhd_mp4",
         {"uhd.mp4",
          "-f lavfi -i testsrc2=s=3840x2160:r=24 -frames:v 8 -c:v libx264 -g 4 -bf 2 -preset "
          "veryfast -pix_fmt yuv420p"}},
        // Four long blocks, slow enough to decode that a test can act while one is decoded.
        {"long_blocks",
         {"longblocks.mp4",
          "-f lavfi -i testsrc2=s=640x480:r=24 -frames:v 192 -c:v libx264 -bf 2 -g 48 "
          "-keyint_min 48 -sc_threshold 0 -preset ultrafast"}},
    });
    return media;
}

}  // namespace

const testsupport::TempDir& scratch() {
    return catalogue().scratch();
}

const std::string& mediaPath(const std::string& name) {
    return catalogue().path(name);
}

const testsupport::ReferenceVideo& reference(const std::string& name) {
    return catalogue().reference(name);
}

}  // namespace cachetest

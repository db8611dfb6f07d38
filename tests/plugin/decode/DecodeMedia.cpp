#include "DecodeMedia.h"

#include "MediaCatalogue.h"

namespace decodetest {
namespace {

testsupport::MediaCatalogue& catalogue() {
    static testsupport::MediaCatalogue media({
        {"mpeg2_intra_ps",
         {"mpeg2intra.mpeg",
          "-f lavfi -i testsrc2=s=352x288:r=25 -t 1 -c:v mpeg2video -g 1 -q:v 3"}},
        // Open GOPs: pictures of a block stored after the next keyframe.
        {"open_gop_ts",
         {"opengop.ts",
          "-f lavfi -i testsrc2=s=160x120:r=25 -t 4 -c:v libx264 -g 12 -bf 3 -x264-params "
          "open-gop=1:b-pyramid=none:scenecut=0"}},
        {"open_gop_raw",
         {"opengop.h264",
          "-f lavfi -i testsrc2=s=160x120:r=24 -t 3 -c:v libx264 -g 10 -bf 3 -x264-params "
          "open-gop=1:b-pyramid=none:scenecut=0"}},
        {"h264_ts",
         {"h264.ts", "-f lavfi -i testsrc2=s=320x240:r=25 -t 2 -c:v libx264 -g 12 -bf 2"}},
        {"h263_3gp", {"h263.3gp", "-f lavfi -i testsrc2=s=352x288:r=25 -t 1 -c:v h263"}},
        {"flv1_flv", {"flv1.flv", "-f lavfi -i testsrc2=s=320x240:r=25 -t 1 -c:v flv1"}},
        {"open_gop_mp4",
         {"opengop.mp4",
          "-f lavfi -i testsrc2=s=320x240:r=24 -t 4 -c:v libx264 -g 12 -bf 3 "
          "-x264-params open-gop=1:scenecut=0"}},
        {"mpeg4_avi",
         {"mpeg4.avi", "-f lavfi -i testsrc2=s=320x240:r=24 -t 3 -c:v mpeg4 -bf 2 -g 12 -q:v 4"}},
        {"dnxhd_bt709",
         {"dnxhd.mov",
          "-f lavfi -i testsrc2=s=320x240:r=24 -t 1 -c:v dnxhd -profile:v dnxhr_lb "
          "-pix_fmt yuv422p -colorspace bt709 -color_primaries bt709 -color_trc bt709 "
          "-color_range tv"}},
        {"vp9_webm",
         {"vp9.webm",
          "-f lavfi -i testsrc2=s=320x240:r=24 -t 2 -c:v libvpx-vp9 -g 12 -deadline realtime "
          "-cpu-used 8 -b:v 400k"}},
        {"mjpeg_mov", {"mjpeg.mov", "-f lavfi -i testsrc2=s=320x240:r=24 -t 1 -c:v mjpeg -q:v 4"}},
        {"prores_trimmed_mov",
         {"prores-trimmed.mov",
          "-f lavfi -i testsrc2=s=320x240:r=24 -f lavfi -i sine=r=48000 -t 2 -c:v prores_ks "
          "-profile:v 0 -c:a pcm_s16le",
          "-c copy -t 1", "-ss 0.3"}},
        {"h264_raw",
         {"raw.h264", "-f lavfi -i testsrc2=s=320x240:r=24 -t 2 -c:v libx264 -g 12 -bf 3"}},
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

std::vector<std::string> mediaNames() {
    return catalogue().names();
}

const testsupport::ReferenceVideo& reference(const std::string& name) {
    return catalogue().reference(name);
}

}  // namespace decodetest

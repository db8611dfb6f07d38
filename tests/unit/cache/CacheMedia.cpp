#include "CacheMedia.h"

#include <map>
#include <memory>
#include <stdexcept>

namespace cachetest {
namespace {

struct Recipe {
    const char* file;
    const char* arguments;
};

// Small synthetic clips with motion in every frame, so that a wrong frame never passes.
const std::map<std::string, Recipe>& recipes() {
    static const std::map<std::string, Recipe> catalogue = {
        {"h264_mp4",
         {"h264.mp4",
          "-f lavfi -i testsrc2=s=320x240:r=24 -t 3 -c:v libx264 -g 12 -bf 3 -pix_fmt yuv420p"}},
        {"mpeg2_ps",
         {"mpeg2.mpeg",
          "-f lavfi -i testsrc2=s=352x288:r=25 -f lavfi -i sine=r=48000 -t 3 -c:v mpeg2video "
          "-g 12 -bf 2 -b:v 4M -c:a mp2"}},
        {"open_gop_mp4",
         {"opengop.mp4",
          "-f lavfi -i testsrc2=s=320x240:r=24 -t 3 -c:v libx264 -g 12 -bf 3 "
          "-x264-params open-gop=1:scenecut=0"}},
        {"late_start_mkv",
         {"late.mkv",
          "-f lavfi -i testsrc2=s=320x240:r=30000/1001 -t 3 -c:v libx264 -g 12 -bf 2 "
          "-output_ts_offset 10"}},
        {"prores_mov",
         {"prores.mov", "-f lavfi -i testsrc2=s=320x240:r=24 -t 1 -c:v prores_ks -profile:v 0"}},
        {"mjpeg_avi", {"mjpeg.avi", "-f lavfi -i testsrc2=s=320x240:r=24 -t 1 -c:v mjpeg -q:v 4"}},
        {"h264_aac_mov",
         {"h264aac.mov",
          "-f lavfi -i testsrc2=s=320x240:r=24 -f lavfi -i sine=r=44100 -t 3 -c:v libx264 "
          "-g 12 -bf 3 -c:a aac"}},
        {"odd_1921x1081",
         {"odd.webm",
          "-f lavfi -i testsrc2=s=1920x1080:r=24 -t 0.25 -vf scale=1921:1081 -c:v libvpx-vp9 "
          "-g 3 -deadline realtime -cpu-used 8"}},
        {"wide_1366",
         {"wide.mp4",
          "-f lavfi -i testsrc2=s=1366x768:r=24 -t 0.5 -c:v libx264 -g 4 -bf 2 -preset "
          "ultrafast"}},
        {"keys_0_12_24",
         {"keys24.mp4",
          "-f lavfi -i testsrc2=s=160x120:r=24 -frames:v 30 -c:v libx264 -bf 2 -g 12 "
          "-keyint_min 12 -sc_threshold 0"}},
        {"keys_0_12_29",
         {"keys29.mp4",
          "-f lavfi -i testsrc2=s=160x120:r=24 -frames:v 30 -c:v libx264 -bf 2 -g 100 "
          "-sc_threshold 0 -force_key_frames 'expr:eq(n,0)+eq(n,12)+eq(n,29)'"}},
        // Twenty blocks of exactly twelve frames, for the worker's window and eviction.
        {"blocks_of_12",
         {"blocks12.mp4",
          "-f lavfi -i testsrc2=s=320x240:r=24 -frames:v 240 -c:v libx264 -bf 2 -g 12 "
          "-keyint_min 12 -sc_threshold 0 -preset ultrafast"}},
        // Four long blocks, slow enough to decode that a test can act while one is decoded.
        {"long_blocks",
         {"longblocks.mp4",
          "-f lavfi -i testsrc2=s=640x480:r=24 -frames:v 192 -c:v libx264 -bf 2 -g 48 "
          "-keyint_min 48 -sc_threshold 0 -preset ultrafast"}},
        {"audio_only", {"audio.m4a", "-f lavfi -i sine=r=44100 -t 1 -c:a aac"}},
    };
    return catalogue;
}

}  // namespace

const testsupport::TempDir& scratch() {
    static testsupport::TempDir folder;
    return folder;
}

const std::string& mediaPath(const std::string& name) {
    static std::map<std::string, std::string> made;
    auto found = made.find(name);
    if (found != made.end()) {
        return found->second;
    }
    auto recipe = recipes().find(name);
    if (recipe == recipes().end()) {
        throw std::invalid_argument("no test medium " + name);
    }
    std::string path = scratch().file(recipe->second.file);
    testsupport::makeMedia(recipe->second.arguments, path);
    return made.emplace(name, path).first->second;
}

const testsupport::ReferenceVideo& reference(const std::string& name) {
    static std::map<std::string, std::unique_ptr<testsupport::ReferenceVideo>> decoded;
    std::unique_ptr<testsupport::ReferenceVideo>& video = decoded[name];
    if (!video) {
        video = std::make_unique<testsupport::ReferenceVideo>(
            testsupport::referenceDecode(mediaPath(name)));
    }
    return *video;
}

}  // namespace cachetest

#include "MediaCatalogue.h"

#include <stdexcept>

namespace testsupport {
namespace {

MediaRecipes commonClips() {
    return {
        {"h264_mp4",
         {"h264.mp4",
          "-f lavfi -i testsrc2=s=320x240:r=24 -t 3 -c:v libx264 -g 12 -bf 3 -pix_fmt yuv420p"}},
        {"mpeg2_ps",
         {"mpeg2.mpeg",
          "-f lavfi -i testsrc2=s=352x288:r=25 -f lavfi -i sine=r=48000 -t 3 -c:v mpeg2video "
          "-g 12 -bf 2 -b:v 4M -c:a mp2"}},
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
        {"audio_only", {"audio.m4a", "-f lavfi -i sine=r=44100 -t 1 -c:a aac"}},
        // The footage that comes from cameras, phones and editorial under its usual names.
        {"mpeg1_mpg",
         {"mpeg1.mpg",
          "-f lavfi -i testsrc2=s=160x120:r=25 -frames:v 36 -c:v mpeg1video -g 12 -bf 2 "
          "-q:v 4"}},
        {"h264_m4v",
         {"h264.m4v", "-f lavfi -i testsrc2=s=160x120:r=25 -frames:v 36 -c:v libx264 -g 12 -bf 2"}},
        {"mpeg4_raw_m4v",
         {"mpeg4.m4v",
          "-f lavfi -i testsrc2=s=160x120:r=25 -frames:v 36 -c:v mpeg4 -g 12 -bf 2 -q:v 4 "
          "-f m4v"}},
        {"mpeg2_ts",
         {"mpeg2.ts",
          "-f lavfi -i testsrc2=s=160x120:r=25 -frames:v 36 -c:v mpeg2video -g 12 -bf 2 "
          "-q:v 4"}},
        {"h264_mts",
         {"h264.mts",
          "-f lavfi -i testsrc2=s=160x120:r=25 -frames:v 36 -c:v libx264 -g 12 -bf 2 "
          "-f mpegts -mpegts_m2ts_mode 1"}},
        {"h264_ac3_m2ts",
         {"h264.m2ts",
          "-f lavfi -i testsrc2=s=160x120:r=25 -f lavfi -i sine=r=48000 -t 1.44 -c:v libx264 "
          "-g 12 -bf 2 -c:a ac3"}},
        {"mpeg2_mxf",
         {"mpeg2.mxf",
          "-f lavfi -i testsrc2=s=160x120:r=25 -frames:v 36 -c:v mpeg2video -g 12 -bf 2 "
          "-q:v 4 -f mxf"}},
        {"wmv2_wmv",
         {"wmv2.wmv", "-f lavfi -i testsrc2=s=160x120:r=25 -frames:v 36 -c:v wmv2 -g 12 -q:v 4"}},
        {"theora_ogv",
         {"theora.ogv",
          "-f lavfi -i testsrc2=s=160x120:r=25 -frames:v 36 -c:v libtheora -g 12 -q:v 6"}},
        {"raw_y4m", {"raw.y4m", "-f lavfi -i testsrc2=s=64x48:r=25 -frames:v 24 -pix_fmt yuv420p"}},
        // Phone video: the stream stored as encoded, a display matrix (written by the tool only
        // while copying) asking for a quarter or half turn.
        {"rotated_90",
         {"rot90.mp4", "-f lavfi -i testsrc2=s=160x96:r=24 -frames:v 36 -c:v libx264 -g 12 -bf 2",
          "-c copy -metadata:s:v:0 rotate=90"}},
        {"rotated_180",
         {"rot180.mov",
          "-f lavfi -i testsrc2=s=160x96:r=24 -frames:v 36 -c:v libx264 -g 12 -bf 2 "
          "-pix_fmt yuv422p",
          "-c copy -metadata:s:v:0 rotate=180"}},
        {"rotated_270",
         {"rot270.mp4",
          "-f lavfi -i testsrc2=s=160x96:r=24 -frames:v 36 -c:v mpeg4 -g 12 -bf 2 -q:v 4",
          "-c copy -metadata:s:v:0 rotate=270"}},
        // Phone HDR video: ten bits per component, turned.
        {"rotated_90_10bit",
         {"rot90-10bit.mp4",
          "-f lavfi -i testsrc2=s=160x96:r=24 -frames:v 24 -c:v libx265 -pix_fmt yuv420p10le "
          "-x265-params log-level=none:keyint=12",
          "-c copy -metadata:s:v:0 rotate=90"}},
        {"rotated_180_10bit",
         {"rot180-10bit.mov",
          "-f lavfi -i testsrc2=s=160x96:r=24 -frames:v 24 -c:v libx265 -pix_fmt yuv420p10le "
          "-x265-params log-level=none:keyint=12",
          "-c copy -metadata:s:v:0 rotate=180"}},
        {"rotated_270_444_10bit",
         {"rot270-444-10bit.mov",
          "-f lavfi -i testsrc2=s=160x96:r=24 -frames:v 24 -c:v libx264 -pix_fmt yuv444p10le "
          "-g 12",
          "-c copy -metadata:s:v:0 rotate=270"}},
        {"rotated_90_422_10bit",
         {"rot90-422-10bit.mov",
          "-f lavfi -i testsrc2=s=160x96:r=24 -frames:v 24 -c:v prores_ks -profile:v 2",
          "-c copy -metadata:s:v:0 rotate=90"}},
        // Anamorphic: 144 × 108 pixels, each 4:3 wide, shown 16:9; and the same turned upright.
        {"anamorphic",
         {"anamorphic.mp4",
          "-f lavfi -i testsrc2=s=144x108:r=24 -frames:v 24 -vf setsar=4/3 -c:v libx264 -g 12"}},
        {"unknown_sar",
         {"unknown-sar.mp4",
          "-f lavfi -i testsrc2=s=64x48:r=24 -frames:v 4 -vf setsar=0 -c:v libx264"}},
        {"anamorphic_rotated",
         {"anamorphic-rot.mov",
          "-f lavfi -i testsrc2=s=144x108:r=24 -frames:v 24 -vf setsar=4/3 -c:v libx264 -g 12",
          "-c copy -metadata:s:v:0 rotate=90"}},
        // Clips cut without re-encoding, as editors and phones trim: the file keeps the packets
        // from the keyframe before the cut, marked to be discarded, and an edit list that starts
        // in the middle of a group of pictures.
        {"trim_mov_bf3_at_0_3",
         {"trim-bf3-0.3.mov",
          "-f lavfi -i testsrc2=s=320x240:r=24 -t 3 -c:v libx264 -g 12 -bf 3 -pix_fmt yuv420p",
          "-c copy -t 1.5", "-ss 0.3"}},
        {"trim_mp4_bf3_at_0_3",
         {"trim-bf3-0.3.mp4",
          "-f lavfi -i testsrc2=s=320x240:r=24 -t 3 -c:v libx264 -g 12 -bf 3 -pix_fmt yuv420p",
          "-c copy -t 1.5", "-ss 0.3"}},
        {"trim_mov_bf2_at_0_5",
         {"trim-bf2-0.5.mov",
          "-f lavfi -i testsrc2=s=320x240:r=24 -t 3 -c:v libx264 -g 18 -bf 2 -sc_threshold 0",
          "-c copy -t 1.5", "-ss 0.5"}},
        {"trim_mp4_bf3_at_0_9",
         {"trim-bf3-0.9.mp4", "-f lavfi -i testsrc2=s=320x240:r=24 -t 3 -c:v libx264 -g 12 -bf 3",
          "-c copy -t 1.5", "-ss 0.9"}},
        {"trim_mp4_no_bf_at_0_7",
         {"trim-nobf-0.7.mp4", "-f lavfi -i testsrc2=s=320x240:r=24 -t 3 -c:v libx264 -g 12 -bf 0",
          "-c copy -t 1.5", "-ss 0.7"}},
        {"trim_mov_no_bf_at_0_55",
         {"trim-nobf-0.55.mov", "-f lavfi -i testsrc2=s=320x240:r=24 -t 3 -c:v libx264 -g 12 -bf 0",
          "-c copy -t 1.5", "-ss 0.55"}},
        {"trim_mov_open_gop_at_1_2",
         {"trim-opengop-1.2.mov",
          "-f lavfi -i testsrc2=s=320x240:r=24 -t 4 -c:v libx264 -g 12 -bf 3 "
          "-x264-params open-gop=1:scenecut=0",
          "-c copy -t 2", "-ss 1.2"}},
        {"trim_mov_mpeg4_at_0_4",
         {"trim-mpeg4-0.4.mov",
          "-f lavfi -i testsrc2=s=320x240:r=24 -t 3 -c:v mpeg4 -g 12 -bf 2 -q:v 4",
          "-c copy -t 1.5", "-ss 0.4"}},
    };
}

// The cache suites' own clips: long, large or oddly cut, for its windows, pool and budget.
MediaRecipes cacheClips() {
    return {
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
        {"qvga",
         {"qvga.mp4",
          "-f lavfi -i testsrc2=s=320x240:r=24 -frames:v 96 -c:v libx264 -g 12 -bf 2 "
          "-pix_fmt yuv420p"}},
        {"qvga_other",
         {"qvga_other.mp4",
          "-f lavfi -i testsrc=s=320x240:r=24 -frames:v 96 -c:v libx264 -g 12 -bf 2 "
          "-pix_fmt yuv420p"}},
        {"vga_bframes",
         {"vga-bframes.mp4",
          "-f lavfi -i testsrc2=s=640x480:r=24 -frames:v 36 -c:v libx264 -g 12 -bf 3 "
          "-pix_fmt yuv420p"}},
    };
}

// The catalogue of the process: the common clips and the cache suites'.
MediaCatalogue& processMedia() {
    static MediaCatalogue media(cacheClips());
    return media;
}

}  // namespace

MediaCatalogue::MediaCatalogue(const MediaRecipes& areaClips) : recipes_(commonClips()) {
    recipes_.insert(areaClips.begin(), areaClips.end());
}

const std::string& MediaCatalogue::path(const std::string& name) {
    auto found = made_.find(name);
    if (found != made_.end()) {
        return found->second;
    }
    auto recipe = recipes_.find(name);
    if (recipe == recipes_.end()) {
        throw std::invalid_argument("no test medium " + name);
    }
    const MediaRecipe& how = recipe->second;
    std::string file = scratch_.file(how.file);
    if (how.copyArguments.empty()) {
        makeMedia(how.arguments, file);
    } else {
        const std::string first = scratch_.file("encoded-" + how.file);
        makeMedia(how.arguments, first);
        makeMedia(how.copyInputArguments + " -i " + shellQuote(first) + " " + how.copyArguments,
                  file);
    }
    return made_.emplace(name, file).first->second;
}

std::vector<std::string> MediaCatalogue::names() const {
    std::vector<std::string> names;
    for (const auto& recipe : recipes_) {
        names.push_back(recipe.first);
    }
    return names;
}

const ReferenceVideo& MediaCatalogue::reference(const std::string& name) {
    auto found = decoded_.find(name);
    if (found == decoded_.end()) {
        found = decoded_.emplace(name, referenceDecode(path(name))).first;
    }
    return found->second;
}

const std::string& mediaPath(const std::string& name) {
    return processMedia().path(name);
}

const ReferenceVideo& reference(const std::string& name) {
    return processMedia().reference(name);
}

const TempDir& scratch() {
    return processMedia().scratch();
}

}  // namespace testsupport

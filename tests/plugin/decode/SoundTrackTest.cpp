#include "Media.h"
#include "TestSupport.h"

#include "decode/SoundFileName.h"
#include "decode/SoundTrack.h"
#include "decode/WavFile.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace {

using testsupport::makeMedia;
using testsupport::shellQuote;
using testsupport::TempDir;

struct Wav {
    int format = 0;
    int channels = 0;
    int sampleRate = 0;
    int bits = 0;
    std::vector<int16_t> samples;
};

uint32_t le32(const unsigned char* bytes) {
    return bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

// The WAV file as any reader sees it: chunks walked from the RIFF header, sizes checked.
Wav readWav(const std::string& path) {
    const std::vector<unsigned char> bytes = testsupport::readBytes(path);
    Wav wav;
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 ||
        std::memcmp(bytes.data() + 8, "WAVE", 4) != 0) {
        ADD_FAILURE() << path << " is no WAV file";
        return wav;
    }
    EXPECT_EQ(le32(bytes.data() + 4), bytes.size() - 8) << "RIFF size";
    std::string chunks;
    for (size_t at = 12; at + 8 <= bytes.size();) {
        const uint32_t size = le32(&bytes[at + 4]);
        chunks += std::string(reinterpret_cast<const char*>(&bytes[at]), 4) + ";";
        const unsigned char* body = &bytes[at + 8];
        if (std::memcmp(&bytes[at], "fmt ", 4) == 0) {
            wav.format = body[0] | body[1] << 8;
            wav.channels = body[2] | body[3] << 8;
            wav.sampleRate = static_cast<int>(le32(body + 4));
            wav.bits = body[14] | body[15] << 8;
            EXPECT_EQ(le32(body + 8), int64_t{wav.sampleRate} * wav.channels * 2) << "bytes/s";
        } else if (std::memcmp(&bytes[at], "data", 4) == 0) {
            EXPECT_EQ(at + 8 + size, bytes.size()) << "data size";
            wav.samples.resize(size / 2);
            std::memcpy(wav.samples.data(), body, wav.samples.size() * 2);
        }
        at += 8 + size + size % 2;
    }
    EXPECT_EQ(chunks, "fmt ;data;") << "a canonical WAV holds these chunks only";
    return wav;
}

// The first audio stream as the ffmpeg tool decodes it to 16-bit samples.
std::vector<int16_t> toolDecode(const std::string& clip, const std::string& options,
                                const TempDir& dir) {
    const std::string raw = dir.file("reference.raw");
    const auto run =
        testsupport::runCommand("ffmpeg -nostdin -v error -y -i " + shellQuote(clip) +
                                " -map 0:a:0 " + options + " -f s16le " + shellQuote(raw));
    EXPECT_EQ(run.exitCode, 0) << run.err;
    const std::vector<unsigned char> bytes = testsupport::readBytes(raw);
    std::vector<int16_t> samples(bytes.size() / 2);
    std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
    return samples;
}

std::set<std::string> filesIn(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

// Every sample within `tolerance` of the reference; reports the first that is not.
void expectSamplesNear(const std::vector<int16_t>& actual, const std::vector<int16_t>& expected,
                       int tolerance = 1) {
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < actual.size(); ++i) {
        if (std::abs(actual[i] - expected[i]) > tolerance) {
            FAIL() << "sample " << i << ": " << actual[i] << ", the tool gives " << expected[i];
        }
    }
}

// Half a second of pictures and sound.
std::string shortClip(const TempDir& dir) {
    const std::string clip = dir.file("clip.mov");
    makeMedia(
        "-f lavfi -i testsrc=size=64x48:rate=24:duration=0.5 -f lavfi -i "
        "sine=duration=0.5 -c:v mpeg4 -c:a pcm_s16le",
        clip);
    return clip;
}

struct Track {
    const char* name;
    const char* audioInput;
    const char* codec;
    const char* toolOptions;  // what makes the tool give the channels the WAV has
    int channels;
    int sampleRate;
};

class SoundTrackTest : public testing::TestWithParam<Track> {};

TEST_P(SoundTrackTest, wavHoldsTheToolsDecodeOfTheFirstAudioStream) {
    const Track& track = GetParam();
    TempDir dir;
    const std::string clip = dir.file(std::string(track.name) + ".mov");
    // A second, different audio stream after the first must not be the one taken.
    makeMedia(std::string("-f lavfi -i testsrc=size=64x48:rate=24:duration=1.5 -f lavfi -i ") +
                  shellQuote(track.audioInput) +
                  " -f lavfi -i sine=frequency=1000:duration=1.5:sample_rate=22050"
                  " -map 0 -map 1 -map 2 -c:v mpeg4 -c:a " +
                  track.codec,
              clip);
    const std::string wavPath = dir.file("out.wav");

    const video::SoundTrack result = video::extractSoundTrack(clip, wavPath);
    ASSERT_EQ(result.outcome, video::SoundOutcome::kWritten);
    const Wav wav = readWav(wavPath);
    EXPECT_EQ(wav.format, 1);
    EXPECT_EQ(wav.bits, 16);
    EXPECT_EQ(wav.channels, track.channels);
    EXPECT_EQ(wav.sampleRate, track.sampleRate);
    EXPECT_EQ(result.channels, track.channels);
    EXPECT_EQ(result.sampleRate, track.sampleRate);
    EXPECT_DOUBLE_EQ(result.videoFrameRate, 24.0);
    EXPECT_EQ(result.sampleFrames * track.channels, static_cast<int64_t>(wav.samples.size()));
    expectSamplesNear(wav.samples, toolDecode(clip, track.toolOptions, dir));
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, SoundTrackTest,
    testing::Values(
        Track{"stereoAac", "aevalsrc=sin(440*2*PI*t)|0.5*sin(660*2*PI*t):s=48000:d=1.5", "aac", "",
              2, 48000},
        Track{"monoPcm", "anoisesrc=d=1.5:r=48000:a=0.3:seed=7", "pcm_s24le", "", 1, 48000},
        // 2^30 Hz: its bytes per second fill 31 bits.
        Track{"monoAtTwoToThe30Hz", "anoisesrc=r=1073741824:a=0.3:seed=7,atrim=end_sample=4800",
              "pcm_s16le", "", 1, 1073741824},
        Track{"surroundMixedDown",
              "aevalsrc=0.2*sin(200*2*PI*t)|0.2*sin(300*2*PI*t)|0.2*sin(400*2*PI*t)|"
              "0.2*sin(500*2*PI*t)|0.2*sin(600*2*PI*t)|0.2*sin(700*2*PI*t):s=48000:d=1.5:"
              "c=5.1",
              "pcm_f32le", "-ac 2", 2, 48000}),
    [](const testing::TestParamInfo<Track>& info) { return std::string(info.param.name); });

struct LateSound {
    const char* name;
    const char* container;
    const char* soundFile;  // its extension picks the codec
    double delay;           // seconds from the first picture to the sound
};

class LateSoundTest : public testing::TestWithParam<LateSound> {};

// Sample 0 of the WAV lies at the start of the first picture, however long after it the sound
// begins in the file: a sound stream made separately and muxed in late, as an editor does.
TEST_P(LateSoundTest, soundStartingAfterThePicturesIsPrecededBySilence) {
    const LateSound& late = GetParam();
    TempDir dir;
    const std::string pictures = dir.file(std::string("v.") + late.container);
    const std::string sound = dir.file(late.soundFile);
    const std::string clip = dir.file(std::string(late.name) + "." + late.container);
    makeMedia("-f lavfi -i testsrc=size=64x48:rate=25:duration=" + std::to_string(late.delay + 2) +
                  " -c:v mpeg4",
              pictures);
    makeMedia("-f lavfi -i sine=frequency=300:duration=1.5:sample_rate=48000", sound);
    makeMedia("-i " + shellQuote(pictures) + " -itsoffset " + std::to_string(late.delay) + " -i " +
                  shellQuote(sound) + " -map 0:v -map 1:a -c copy",
              clip);
    ASSERT_EQ(video::extractSoundTrack(clip, dir.file("late.wav")).outcome,
              video::SoundOutcome::kWritten);
    // The tool's own extraction, told that its first sample belongs at time 0, where these
    // clips start their pictures: aresample's first_pts pads the start with silence up to the
    // sound's first time stamp (its documented use for audio starting after the video). The
    // AAC encoder's priming frame lies before the delay in both.
    const std::vector<int16_t> expected = toolDecode(clip, "-af aresample=first_pts=0", dir);
    ASSERT_NEAR(static_cast<double>(expected.size()) / 48000, late.delay + 1.5, 0.05)
        << "the reference has its silence";
    expectSamplesNear(readWav(dir.file("late.wav")).samples, expected);
}

INSTANTIATE_TEST_SUITE_P(Delays, LateSoundTest,
                         testing::Values(LateSound{"pcmHalfSecond", "mov", "a.wav", 0.5},
                                         LateSound{"aacUnderSixteenPictures", "mkv", "a.m4a", 0.48},
                                         LateSound{"aacTwoSeconds", "mkv", "a.m4a", 2.0}),
                         [](const testing::TestParamInfo<LateSound>& info) {
                             return std::string(info.param.name);
                         });

struct Cut {
    const char* name;
    const char* container;
    const char* codecs;
    const char* start;  // where the copy starts in the source, in seconds
};

class CutClipTest : public testing::TestWithParam<Cut> {};

// A clip cut without re-encoding keeps the packets from the keyframe before the cut and an edit
// list that hides them, and an AAC stream keeps its encoder's priming: the WAV holds the sound
// the container presents from its first shown picture, as the tool extracts it, sample for
// sample.
TEST_P(CutClipTest, aCutClipsSoundIsTheToolsExtraction) {
    const Cut& cut = GetParam();
    TempDir dir;
    const std::string source = dir.file(std::string("source.") + cut.container);
    const std::string clip = dir.file(std::string(cut.name) + "." + cut.container);
    makeMedia(std::string("-f lavfi -i testsrc=size=64x48:rate=24:duration=3 -f lavfi -i "
                          "'aevalsrc=sin(440*2*PI*t)|0.5*sin(660*2*PI*t):s=48000:d=3' ") +
                  cut.codecs,
              source);
    makeMedia(std::string("-ss ") + cut.start + " -i " + shellQuote(source) + " -c copy -t 1.5",
              clip);
    ASSERT_EQ(video::extractSoundTrack(clip, dir.file("cut.wav")).outcome,
              video::SoundOutcome::kWritten);
    expectSamplesNear(readWav(dir.file("cut.wav")).samples, toolDecode(clip, "", dir), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cuts, CutClipTest,
    testing::Values(
        Cut{"movPcmHalfSecond", "mov", "-c:v mpeg4 -g 48 -c:a pcm_s16le", "0.5"},
        Cut{"mp4AacBFramesHalfSecond", "mp4", "-c:v libx264 -bf 3 -g 30 -c:a aac", "0.5"},
        Cut{"mp4AacBFramesOnAKeyframe", "mp4", "-c:v libx264 -bf 2 -g 24 -c:a aac", "1"},
        Cut{"mp4AacOffTheSampleGrid", "mp4", "-c:v libx264 -bf 2 -g 30 -c:a aac", "1.37"}),
    [](const testing::TestParamInfo<Cut>& info) { return std::string(info.param.name); });

// Sound before the first picture is left out; the sound of a clip of one picture is not held
// back waiting for more pictures.
TEST(SoundAlignment, theWavStartsAtTheFirstPicture) {
    const struct {
        const char* file;
        const char* makeArguments;
        size_t leftOut;  // samples of the tool's decode that lie before the first picture
    } clips[] = {
        {"early.mkv",
         "-itsoffset 0.2 -f lavfi -i testsrc=size=64x48:rate=25:duration=2 -f lavfi -i "
         "sine=frequency=300:duration=2:sample_rate=44100 -c:v mpeg4 -c:a pcm_s16le",
         8820},
        {"still.mov",
         "-f lavfi -i testsrc=size=64x48:rate=1:duration=1 -f lavfi -i "
         "sine=frequency=300:duration=12:sample_rate=8000 -c:v mpeg4 -c:a pcm_s16le",
         0},
    };
    TempDir dir;
    for (const auto& clip : clips) {
        const std::string path = dir.file(clip.file);
        makeMedia(clip.makeArguments, path);
        ASSERT_EQ(video::extractSoundTrack(path, path + ".wav").outcome,
                  video::SoundOutcome::kWritten)
            << clip.file;
        const std::vector<int16_t> sound = toolDecode(path, "", dir);
        ASSERT_GT(sound.size(), clip.leftOut);
        expectSamplesNear(readWav(path + ".wav").samples,
                          std::vector<int16_t>(sound.begin() + clip.leftOut, sound.end()));
    }
}

// Clips without sound, broken files, sounds no WAV holds, an unwritable folder and a cancel
// write nothing.
TEST(SoundOutcomes, refusedClipsAndCancelsWriteNothing) {
    struct Refusal {
        const char* file;
        const char* makeArguments;  // null: written as text, or not made when that is null too
        const char* text;
        video::SoundOutcome outcome;
    };
    const Refusal refusals[] = {
        {"silent.mp4", "-f lavfi -i testsrc=size=64x48:rate=24:duration=0.5 -c:v mpeg4", nullptr,
         video::SoundOutcome::kNoSound},
        {"broken.mov", nullptr, "not a movie at all", video::SoundOutcome::kUnreadable},
        {"missing.mov", nullptr, nullptr, video::SoundOutcome::kUnreadable},
        // 2^30 Hz stereo: 2^32 bytes per second, one more than a WAV header can hold.
        {"rate.mkv",
         "-f lavfi -i testsrc=size=64x48:rate=24:duration=0.5 -f lavfi -i "
         "anullsrc=r=1073741824:cl=stereo,atrim=end_sample=4800 -c:v mpeg4 -c:a pcm_s16le",
         nullptr, video::SoundOutcome::kRateTooHigh},
        // 384 kHz stereo whose second half starts an hour in: 5.5 GB of WAV from a 35 kB clip.
        {"hour.mkv",
         "-f lavfi -i testsrc=size=64x48:rate=25:duration=0.04 -f lavfi -i "
         "\"anullsrc=r=384000:cl=stereo:nb_samples=1024,atrim=end_sample=8192,"
         "asetpts='N/SR/TB+gte(N,4096)*3600/TB'\" -c:v mpeg4 -c:a pcm_s16le",
         nullptr, video::SoundOutcome::kTooLong},
    };
    TempDir dir;
    std::set<std::string> made;
    for (const Refusal& refusal : refusals) {
        const std::string clip = dir.file(refusal.file);
        if (refusal.makeArguments != nullptr) {
            makeMedia(refusal.makeArguments, clip);
        } else if (refusal.text != nullptr) {
            testsupport::writeFile(clip, refusal.text);
        }
        if (testsupport::fileExists(clip)) {
            made.insert(refusal.file);
        }
        const video::SoundTrack track =
            video::extractSoundTrack(clip, dir.file(std::string(refusal.file) + ".wav"));
        EXPECT_EQ(track.outcome, refusal.outcome) << refusal.file;
        if (refusal.outcome == video::SoundOutcome::kTooLong) {
            EXPECT_NEAR(track.seconds, 3600, 1);
        }
    }
    // An unwritable folder, or a cancel set before the worker reads anything (it stops at the
    // first read).
    const std::string clip = shortClip(dir);
    made.insert("clip.mov");
    EXPECT_EQ(video::extractSoundTrack(clip, dir.file("no/such/folder/clip.wav")).outcome,
              video::SoundOutcome::kNotWritten);
    video::SoundProgress progress;
    progress.cancel = true;
    EXPECT_EQ(video::extractSoundTrack(clip, dir.file("clip.wav"), &progress).outcome,
              video::SoundOutcome::kCancelled);
    EXPECT_EQ(filesIn(dir.path()), made) << "no WAV, no partial file";
}

// Another process that puts a link in place of the temporary file while the sound is being
// written gets its link neither written through nor renamed to the final name.
TEST(SoundOutcomes, aLinkSwappedForTheTemporaryFileNeverBecomesTheSound) {
    TempDir dir;
    const std::string clip = shortClip(dir);
    const std::string folder = dir.file("sound");
    const std::string target = dir.file("target");
    ASSERT_TRUE(std::filesystem::create_directory(folder));
    testsupport::writeFile(target, "someone else's file");

    std::atomic<bool> stop{false};
    std::atomic<int> swaps{0};
    std::thread swapper([&] {
        const std::string link = dir.file("link");
        while (!stop) {
            std::error_code error;
            for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
                const std::string name = entry.path().filename().string();
                struct stat status {};
                if (name.find(".part") != std::string::npos &&
                    ::lstat(entry.path().c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
                    ::symlink(target.c_str(), link.c_str()) == 0) {
                    swaps += ::rename(link.c_str(), entry.path().c_str()) == 0 ? 1 : 0;
                    ::unlink(link.c_str());
                }
            }
        }
    });
    const std::string wavPath = folder + "/clip.wav";
    for (int attempt = 0; attempt < 300 && swaps < 5; ++attempt) {
        const video::SoundOutcome outcome = video::extractSoundTrack(clip, wavPath).outcome;
        struct stat status {};
        const bool named = ::lstat(wavPath.c_str(), &status) == 0;
        EXPECT_TRUE(!named || S_ISREG(status.st_mode)) << "the final name leads to a link";
        if (outcome == video::SoundOutcome::kWritten) {
            EXPECT_EQ(readWav(wavPath).sampleRate, 44100);
        } else {
            EXPECT_EQ(outcome, video::SoundOutcome::kNotWritten);
        }
        ::unlink(wavPath.c_str());
        if (HasFailure()) {
            break;
        }
    }
    stop = true;
    swapper.join();
    EXPECT_GT(swaps, 0) << "the race was never run";
    EXPECT_EQ(testsupport::readFile(target), "someone else's file");
}

// The same clip imported again lands on its own file; another clip of that name, or the
// user's own file (a folder even), is never replaced.
TEST(SoundFileName, eachClipKeepsItsOwnFile) {
    TempDir dir;
    const std::string first = dir.file("a.mov");
    const std::string second = dir.file("b.mov");
    makeMedia("-f lavfi -i sine=frequency=300:duration=0.2 -c:a pcm_s16le", first);
    makeMedia("-f lavfi -i sine=frequency=600:duration=0.2 -c:a pcm_s16le", second);
    const std::string folder = dir.file("sound");
    ASSERT_TRUE(std::filesystem::create_directories(folder + "/shot.v2_2.wav"));
    testsupport::writeFile(folder + "/take.wav", "RIFF");
    const struct {
        const std::string& clip;
        const char* preferred;
        const char* written;
    } imports[] = {
        {first, "shot.v2.wav", "shot.v2.wav"}, {second, "shot.v2.wav", "shot.v2_1.wav"},
        {first, "shot.v2.wav", "shot.v2.wav"}, {second, "shot.v2.wav", "shot.v2_1.wav"},
        {first, "take.wav", "take_1.wav"},
    };
    for (const auto& import : imports) {
        const video::SoundTrack track =
            video::extractSoundTrack(import.clip, folder + "/" + import.preferred);
        EXPECT_EQ(track.wavPath, folder + "/" + import.written) << import.clip;
    }
    EXPECT_EQ(testsupport::readFile(folder + "/take.wav"), "RIFF");
    EXPECT_EQ(filesIn(folder), (std::set<std::string>{"shot.v2.wav", "shot.v2_1.wav",
                                                      "shot.v2_2.wav", "take.wav", "take_1.wav"}));
    EXPECT_EQ(video::soundFilePath(folder, "/x/shot.v2.mov"), folder + "/shot.v2.wav");
    EXPECT_EQ(video::soundFilePath(folder + "/", "/x/.mov"), folder + "/.mov.wav");
}

// Names up to the file-name limit of 255 bytes: the WAV's name, numbered or not, and the
// temporary file's beside it are shortened to fit, never cutting a character in two.
TEST(SoundFileName, clipNamesAtTheFileNameLimitAreImported) {
    TempDir dir;
    const std::string made[] = {dir.file("made.mov"), dir.file("other.mov")};
    for (int i = 0; i < 2; ++i) {
        makeMedia(
            "-f lavfi -i testsrc=size=64x48:rate=24:duration=0.2 -f lavfi -i "
            "sine=frequency=" +
                std::to_string(300 * (i + 1)) + ":duration=0.2 -c:v mpeg4 -c:a pcm_s16le",
            made[i]);
    }
    const std::string folder = dir.file("sound");
    ASSERT_TRUE(std::filesystem::create_directories(dir.file("other")));
    ASSERT_TRUE(std::filesystem::create_directory(folder));
    const std::string full(251, 'a');
    const struct {
        std::string clip;
        int made;
        std::string wav;
    } names[] = {
        {std::string(240, 'a') + ".mov", 0, std::string(240, 'a') + ".wav"},
        {full + ".mov", 0, full + ".wav"},
        // Another clip of that name in another folder, with another sound.
        {"other/" + full + ".mov", 1, std::string(249, 'a') + "_1.wav"},
        // "é" is two bytes, and the limit falls between them.
        {std::string(250, 'c') + "\xC3\xA9.ts", 0, std::string(250, 'c') + ".wav"},
    };
    for (const auto& name : names) {
        const std::string clip = dir.file(name.clip);
        ASSERT_TRUE(std::filesystem::copy_file(made[name.made], clip));
        const video::SoundTrack track =
            video::extractSoundTrack(clip, video::soundFilePath(folder, clip));
        EXPECT_EQ(track.outcome, video::SoundOutcome::kWritten) << name.clip;
        EXPECT_EQ(track.wavPath, folder + "/" + name.wav);
    }
    EXPECT_EQ(filesIn(folder).size(), std::size(names)) << "no partial file";
}

}  // namespace

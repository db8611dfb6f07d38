#include "Media.h"
#include "TestSupport.h"

#include "decode/SoundFileName.h"
#include "decode/SoundTrack.h"
#include "decode/WavFile.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
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
    for (size_t at = 12; at + 8 <= bytes.size();) {
        const uint32_t size = le32(&bytes[at + 4]);
        const unsigned char* body = &bytes[at + 8];
        if (std::memcmp(&bytes[at], "fmt ", 4) == 0) {
            wav.format = body[0] | body[1] << 8;
            wav.channels = body[2] | body[3] << 8;
            wav.sampleRate = static_cast<int>(le32(body + 4));
            wav.bits = body[14] | body[15] << 8;
            EXPECT_EQ(le32(body + 8), static_cast<uint32_t>(wav.sampleRate * wav.channels * 2));
        } else if (std::memcmp(&bytes[at], "data", 4) == 0) {
            EXPECT_EQ(at + 8 + size, bytes.size()) << "data size";
            wav.samples.resize(size / 2);
            std::memcpy(wav.samples.data(), body, wav.samples.size() * 2);
        }
        at += 8 + size + size % 2;
    }
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

// Every sample within ±1 of the reference; reports the first that is not.
void expectSamplesNear(const std::vector<int16_t>& actual, const std::vector<int16_t>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < actual.size(); ++i) {
        if (std::abs(actual[i] - expected[i]) > 1) {
            FAIL() << "sample " << i << ": " << actual[i] << ", the tool gives " << expected[i];
        }
    }
}

struct Track {
    const char* name;
    const char* audioInput;
    const char* codec;
    const char* toolOptions;  // what makes the tool give the channels the WAV has
    int channels;
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
    EXPECT_EQ(wav.sampleRate, 48000);
    EXPECT_EQ(result.channels, track.channels);
    EXPECT_EQ(result.sampleRate, 48000);
    EXPECT_DOUBLE_EQ(result.videoFrameRate, 24.0);
    EXPECT_EQ(result.sampleFrames * track.channels, static_cast<int64_t>(wav.samples.size()));
    expectSamplesNear(wav.samples, toolDecode(clip, track.toolOptions, dir));
    EXPECT_EQ(video::wavSource(wavPath), clip);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, SoundTrackTest,
    testing::Values(Track{"stereoAac", "aevalsrc=sin(440*2*PI*t)|0.5*sin(660*2*PI*t):s=48000:d=1.5",
                          "aac", "", 2},
                    Track{"monoPcm", "anoisesrc=d=1.5:r=48000:a=0.3:seed=7", "pcm_s24le", "", 1},
                    Track{
                        "surroundMixedDown",
                        "aevalsrc=0.2*sin(200*2*PI*t)|0.2*sin(300*2*PI*t)|0.2*sin(400*2*PI*t)|"
                        "0.2*sin(500*2*PI*t)|0.2*sin(600*2*PI*t)|0.2*sin(700*2*PI*t):s=48000:d=1.5:"
                        "c=5.1",
                        "pcm_f32le", "-ac 2", 2}),
    [](const testing::TestParamInfo<Track>& info) { return std::string(info.param.name); });

// Sample 0 of the WAV lies at the start of the first picture, wherever the sound begins.
TEST(SoundAlignment, soundStartingAfterThePicturesIsPrecededBySilence) {
    TempDir dir;
    const std::string clip = dir.file("late.mov");
    makeMedia(
        "-f lavfi -i testsrc=size=64x48:rate=25:duration=2 -itsoffset 0.5 -f lavfi -i "
        "sine=frequency=300:duration=1.5:sample_rate=48000 -c:v mpeg4 -c:a pcm_s16le",
        clip);
    ASSERT_EQ(video::extractSoundTrack(clip, dir.file("late.wav")).outcome,
              video::SoundOutcome::kWritten);
    std::vector<int16_t> expected(24000, 0);
    const std::vector<int16_t> sound = toolDecode(clip, "", dir);
    expected.insert(expected.end(), sound.begin(), sound.end());
    expectSamplesNear(readWav(dir.file("late.wav")).samples, expected);
}

TEST(SoundAlignment, soundBeforeTheFirstPictureIsLeftOut) {
    TempDir dir;
    const std::string clip = dir.file("early.mkv");
    makeMedia(
        "-itsoffset 0.2 -f lavfi -i testsrc=size=64x48:rate=25:duration=2 -f lavfi -i "
        "sine=frequency=300:duration=2:sample_rate=44100 -c:v mpeg4 -c:a pcm_s16le",
        clip);
    ASSERT_EQ(video::extractSoundTrack(clip, dir.file("early.wav")).outcome,
              video::SoundOutcome::kWritten);
    const std::vector<int16_t> sound = toolDecode(clip, "", dir);
    ASSERT_GT(sound.size(), 8820u);
    expectSamplesNear(readWav(dir.file("early.wav")).samples,
                      std::vector<int16_t>(sound.begin() + 8820, sound.end()));
}

// A clip whose video is one picture: the sound is not held back waiting for more.
TEST(SoundAlignment, aClipOfOnePictureKeepsAllItsSound) {
    TempDir dir;
    const std::string clip = dir.file("still.mov");
    makeMedia(
        "-f lavfi -i testsrc=size=64x48:rate=1:duration=1 -f lavfi -i "
        "sine=frequency=300:duration=12:sample_rate=8000 -c:v mpeg4 -c:a pcm_s16le",
        clip);
    ASSERT_EQ(video::extractSoundTrack(clip, dir.file("still.wav")).outcome,
              video::SoundOutcome::kWritten);
    const std::vector<int16_t> sound = toolDecode(clip, "", dir);
    EXPECT_EQ(sound.size(), 96000u);
    expectSamplesNear(readWav(dir.file("still.wav")).samples, sound);
}

TEST(SoundOutcomes, clipsWithoutSoundAndBrokenFilesWriteNothing) {
    TempDir dir;
    const std::string silent = dir.file("silent.mp4");
    makeMedia("-f lavfi -i testsrc=size=64x48:rate=24:duration=0.5 -c:v mpeg4", silent);
    const std::string broken = dir.file("broken.mov");
    testsupport::writeFile(broken, "not a movie at all");

    EXPECT_EQ(video::extractSoundTrack(silent, dir.file("a.wav")).outcome,
              video::SoundOutcome::kNoSound);
    EXPECT_EQ(video::extractSoundTrack(broken, dir.file("c.wav")).outcome,
              video::SoundOutcome::kUnreadable);
    EXPECT_EQ(video::extractSoundTrack(dir.file("missing.mov"), dir.file("d.wav")).outcome,
              video::SoundOutcome::kUnreadable);
    const auto listing = testsupport::runCommand("ls -A " + shellQuote(dir.path()));
    EXPECT_EQ(listing.out, "broken.mov\nsilent.mp4\n") << "no WAV, no partial file";
}

TEST(SoundOutcomes, anUnwritableFolderLeavesNothingBehind) {
    TempDir dir;
    const std::string clip = dir.file("clip.mov");
    makeMedia(
        "-f lavfi -i testsrc=size=64x48:rate=24:duration=0.5 -f lavfi -i "
        "sine=duration=0.5 -c:v mpeg4 -c:a pcm_s16le",
        clip);
    EXPECT_EQ(video::extractSoundTrack(clip, dir.file("no/such/folder/clip.wav")).outcome,
              video::SoundOutcome::kNotWritten);
}

TEST(SoundFileName, eachClipKeepsItsOwnFile) {
    TempDir dir;
    const std::string folder = dir.file("sound");
    ASSERT_EQ(testsupport::runCommand("mkdir " + shellQuote(folder)).exitCode, 0);
    const std::string first = "/footage/a/shot.v2.mov";
    const std::string second = "/footage/b/shot.v2.mov";

    EXPECT_EQ(video::soundFilePath(folder, first), folder + "/shot.v2.wav");
    video::WavWriter(folder + "/shot.v2.wav", 48000, 2, first).finish();
    // The same clip again replaces its own file; another clip of that name gets the next name.
    EXPECT_EQ(video::soundFilePath(folder, first), folder + "/shot.v2.wav");
    EXPECT_EQ(video::soundFilePath(folder + "/", second), folder + "/shot.v2_1.wav");
    video::WavWriter(folder + "/shot.v2_1.wav", 48000, 2, second).finish();
    EXPECT_EQ(video::soundFilePath(folder, second), folder + "/shot.v2_1.wav");

    // A file that names no clip is the user's own and is never taken, nor is a folder.
    testsupport::writeFile(folder + "/take.wav", "RIFF");
    ASSERT_EQ(testsupport::runCommand("mkdir " + shellQuote(folder + "/take_1.wav")).exitCode, 0);
    EXPECT_EQ(video::soundFilePath(folder, "/x/take.mp4"), folder + "/take_2.wav");
    // A name that is all extension is kept whole.
    EXPECT_EQ(video::soundFilePath(folder, "/x/.mov"), folder + "/.mov.wav");
}

}  // namespace

#include "SequenceMedia.h"

#include "sequence/SequencePattern.h"

#include <host/Viewport.h>

#include <chrono>
#include <map>
#include <thread>

namespace sequencetest {
namespace {

// Makes the files once; the pattern is returned.
std::string sequence(const std::string& name, const std::string& extension,
                     const std::string& arguments) {
    testsupport::makeMedia(arguments + " -start_number 1",
                           frameprep::scratch().file(name + ".%04d." + extension));
    return frameprep::scratch().file(name + ".####." + extension);
}

}  // namespace

std::string pngSequence() {
    static const std::string pattern =
        sequence("png", "png",
                 "-f lavfi -i color=black:s=64x48:r=24 -frames:v " + std::to_string(kFrames) +
                     " -vf \"format=rgba,geq=r='mod(4*X+37*N,256)':g='mod(5*Y+53*N,256)':"
                     "b='mod(X*Y+11*N,256)':a='mod(4*X+Y+7*N,256)'\" -pix_fmt rgba");
    return pattern;
}

std::string halfExrSequence() {
    static const std::string pattern =
        sequence("half", "exr",
                 "-f lavfi -i testsrc2=s=64x48:r=24 -frames:v 6 -pix_fmt gbrpf32le -c:v exr "
                 "-format half -compression 0");
    return pattern;
}

std::string floatExrSequence() {
    static const std::string pattern =
        sequence("float", "exr",
                 "-f lavfi -i testsrc2=s=64x48:r=24 -frames:v 6 -vf format=rgba "
                 "-pix_fmt gbrapf32le -c:v exr -format float -compression 3");
    return pattern;
}

std::string fileOf(const std::string& pattern, int frame) {
    return video::SequencePattern(pattern).fileOf(frame);
}

const std::vector<std::uint8_t>& toolRgba(const std::string& file) {
    static std::map<std::string, std::vector<std::uint8_t>> decoded;
    auto found = decoded.find(file);
    if (found == decoded.end()) {
        found = decoded.emplace(file, frameprep::rgbaOf(file)).first;
    }
    return found->second;
}

std::string copyOfPngSequence(const testsupport::TempDir& folder, int first, int last) {
    const std::string pattern = folder.file("copy.####.png");
    for (int frame = first; frame <= last; ++frame) {
        testsupport::writeFile(fileOf(pattern, frame),
                               testsupport::readFile(fileOf(pngSequence(), frame)));
    }
    return pattern;
}

}  // namespace sequencetest

CineSheetDrawOverride& SequenceSheet::drawOverride() const {
    auto* found = dynamic_cast<CineSheetDrawOverride*>(host::drawOverrideFor(sheet));
    EXPECT_NE(found, nullptr);
    return *found;
}

void SequenceSheet::expectShown(const std::string& pattern, int frame) {
    expectPicture(frame, sequencetest::fileOf(pattern, frame));
}

void SequenceSheet::expectPicture(int frame, const std::string& referenceFile) {
    setTime(frame);
    refresh();
    const Texture texture = drawnTexture();
    EXPECT_EQ(texture.width, 64) << "frame " << frame;
    EXPECT_EQ(texture.height, 48) << "frame " << frame;
    EXPECT_TRUE(texture.pixels == sequencetest::toolRgba(referenceFile))
        << "frame " << frame << " is not " << referenceFile;
}

bool SequenceSheet::waitForFramesHeld(size_t frames) const {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (drawOverride().footage().sequence().framesHeld() != frames) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

#include "MediaCatalogue.h"
#include "SheetFixture.h"

#include <chrono>
#include <fstream>
#include <sstream>
#include <vector>

namespace {

// An intra-only clip (every frame its own block) whose frames 4 to 14 hold no picture: their
// payload is zeroed where the ffmpeg tool says each packet lies.
const std::string& clipWithDeadFrames() {
    static const std::string path = [] {
        const std::string file = testsupport::scratch().file("deadframes.avi");
        testsupport::makeMedia("-f lavfi -i testsrc2=s=64x48:r=24 -frames:v 24 -c:v mjpeg -q:v 3",
                               file);
        const testsupport::CommandResult probe = testsupport::runCommand(
            "ffprobe -v error -select_streams v -show_entries packet=pos,size -of compact=p=0 " +
            testsupport::shellQuote(file));
        std::string bytes = testsupport::readFile(file);
        std::istringstream lines(probe.out);
        std::string line;
        for (int packet = 0; std::getline(lines, line); ++packet) {
            long long size = 0;
            long long position = 0;
            std::sscanf(line.c_str(), "size=%lld|pos=%lld", &size, &position);
            if (packet >= 4 && packet <= 14) {
                bytes.replace(static_cast<size_t>(position), static_cast<size_t>(size),
                              static_cast<size_t>(size), '\0');
            }
        }
        testsupport::writeFile(file, bytes);
        return file;
    }();
    return path;
}

using FrameWait = SheetFixture;

TEST_F(FrameWait, framesThatNeverDecodeFailWithoutWaiting) {
    const testsupport::ReferenceVideo reference =
        testsupport::referenceDecode(clipWithDeadFrames());
    ASSERT_EQ(reference.frames.size(), 13u);
    FootageSheet& sheet = makeSheet();
    CineSheetData& data = makeData();
    showFrame(sheet, data, clipWithDeadFrames(), 2);
    EXPECT_EQ(texturePixels(data).bytes,
              testsupport::pointSampledRgba(reference.frames[2], 64, 48, 1));
    // Every block is known once the file is listed.
    ASSERT_TRUE(
        sheet.videoCache.awaitListing(std::chrono::steady_clock::now() + std::chrono::seconds(30)));
    // Every frame has been through the worker, stored or found dead.
    ASSERT_TRUE(waitForStore(sheet, [](const FrameStore::Contents& store) {
        return storedFrames(store).size() + store.failedFrames.size() ==
               static_cast<size_t>(store.blockStarts.back());
    }));

    const long long pollsBefore = sheet.videoCache.waitPolls();
    for (int frame = 4; frame <= 14; ++frame) {
        showFrame(sheet, data, clipWithDeadFrames(), frame);
        showFrame(sheet, data, clipWithDeadFrames(), frame);
    }
    EXPECT_EQ(sheet.videoCache.waitPolls(), pollsBefore);
    // The frames after them are the file's next pictures.
    showFrame(sheet, data, clipWithDeadFrames(), 15);
    EXPECT_EQ(texturePixels(data).bytes,
              testsupport::pointSampledRgba(reference.frames[4], 64, 48, 1));
}

}  // namespace

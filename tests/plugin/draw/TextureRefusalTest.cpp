#include "SheetFixture.h"

#include <host/Faults.h>
#include <host/IdleQueue.h>
#include <host/Messages.h>

#include <string>

namespace {

// The viewport may refuse a texture, or its upload, for a while (a real one does under memory
// pressure): the picture is asked for again at each refresh until it shows, with one warning
// while it keeps failing.
class TextureRefusal : public SheetFixture {
protected:
    void SetUp() override {
        SheetFixture::SetUp();
        host::runIdleQueue();
        host::resetMessageCounts();
    }

    // Refreshes `times` times with the fault on, and lets the main thread idle after each.
    void refreshWithFault(const char* fault, int times) {
        host::setFault(fault, true);
        for (int i = 0; i < times; ++i) {
            refresh();
            host::runIdleQueue();
        }
        host::setFault(fault, false);
    }

    static std::vector<std::uint8_t> videoFrame(int frame) {
        static const testsupport::ReferenceVideo video =
            testsupport::referenceDecode(frameprep::video());
        return testsupport::pointSampledRgba(video.frames.at(frame), video.width, video.height, 1);
    }

    int warnings() const { return host::messageCounts().warnings; }
};

TEST_F(TextureRefusal, VideoAtTheSameFrame) {
    setFile(frameprep::video());
    setTime(3);
    refreshWithFault(host::fault::kTextureAcquire, 1);
    EXPECT_FALSE(drewMesh());
    refresh();
    EXPECT_EQ(drawnTexture().pixels, videoFrame(3));
}

TEST_F(TextureRefusal, VideoAtTheNextFrameAfterAGammaChange) {
    setFile(frameprep::video());
    setTime(3);
    refreshWithFault(host::fault::kTextureAcquire, 1);
    setTime(4);
    refresh();
    EXPECT_EQ(drawnTexture().pixels, videoFrame(4));
    ASSERT_EQ(plug("gamma").setFloat(0.5f), MStatus::kSuccess);
    refresh();
    EXPECT_EQ(drawnTexture().pixels, frameprep::withGamma(videoFrame(4), 0.5f));
}

TEST_F(TextureRefusal, SequenceAtTheSameFrame) {
    setFile(frameprep::pngSequence());
    setTime(2);
    refreshWithFault(host::fault::kTextureAcquire, 1);
    EXPECT_FALSE(drewMesh());
    refresh();
    EXPECT_EQ(drawnTexture().pixels, frameprep::pngPixels(2));
}

TEST_F(TextureRefusal, SequenceAtTheNextFrame) {
    setFile(frameprep::pngSequence());
    setTime(2);
    refreshWithFault(host::fault::kTextureAcquire, 1);
    setTime(3);
    refresh();
    EXPECT_EQ(drawnTexture().pixels, frameprep::pngPixels(3));
}

TEST_F(TextureRefusal, FailedUploadAtTheSameFrame) {
    setFile(frameprep::pngSequence());
    setTime(1);
    refresh();
    setTime(2);
    refreshWithFault(host::fault::kTextureUpdate, 1);
    refresh();
    EXPECT_EQ(drawnTexture().pixels, frameprep::pngPixels(2));

    setFile(frameprep::video());
    setTime(5);
    refresh();
    setTime(6);
    refreshWithFault(host::fault::kTextureUpdate, 1);
    refresh();
    EXPECT_EQ(drawnTexture().pixels, videoFrame(6));
}

// The card needs a texture too.
TEST_F(TextureRefusal, CardAtTheSameFrame) {
    setFile("");
    refreshWithFault(host::fault::kTextureAcquire, 1);
    EXPECT_FALSE(drewMesh());
    refresh();
    EXPECT_TRUE(drewCard());
}

// One warning while the refusal lasts, one more when it comes back after the picture showed.
TEST_F(TextureRefusal, OneWarningWhileItLasts) {
    setFile(frameprep::pngSequence());
    setTime(1);
    refreshWithFault(host::fault::kTextureAcquire, 3);
    EXPECT_EQ(warnings(), 1);
    EXPECT_EQ(host::lastMessage(host::MessageKind::kWarning),
              "sheetShape: cannot show \"" + frameprep::pngSequence() +
                  "\": the viewport refused a texture for it (asked for again at each refresh)");
    refresh();
    host::runIdleQueue();
    ASSERT_EQ(drawnTexture().pixels, frameprep::pngPixels(1));
    EXPECT_EQ(warnings(), 1);

    setTime(2);
    refreshWithFault(host::fault::kTextureUpdate, 3);
    EXPECT_EQ(warnings(), 2);
    setFile(frameprep::video());
    refreshWithFault(host::fault::kTextureAcquire, 2);
    EXPECT_EQ(warnings(), 3);
}

}  // namespace

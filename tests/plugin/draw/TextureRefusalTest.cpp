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

// Footage, the fault at one frame, and the frame shown next: the same or the one after. An
// upload fails only over a picture shown before.
struct Refused {
    bool video;
    const char* fault;
    int frame;
    int next;
};

class TextureRefusals : public TextureRefusal, public ::testing::WithParamInterface<Refused> {};

TEST_P(TextureRefusals, PictureShowsAtTheNextRefresh) {
    const Refused refused = GetParam();
    setFile(refused.video ? frameprep::video() : frameprep::pngSequence());
    const bool acquire = std::string(refused.fault) == host::fault::kTextureAcquire;
    if (!acquire) {
        setTime(refused.frame - 1);
        refresh();
    }
    setTime(refused.frame);
    refreshWithFault(refused.fault, 1);
    EXPECT_EQ(drewMesh(), !acquire);
    setTime(refused.next);
    refresh();
    EXPECT_EQ(drawnTexture().pixels,
              refused.video ? videoFrame(refused.next) : frameprep::pngPixels(refused.next));
}

INSTANTIATE_TEST_SUITE_P(Faults, TextureRefusals,
                         ::testing::Values(Refused{true, host::fault::kTextureAcquire, 3, 3},
                                           Refused{false, host::fault::kTextureAcquire, 2, 2},
                                           Refused{false, host::fault::kTextureAcquire, 2, 3},
                                           Refused{false, host::fault::kTextureUpdate, 2, 2},
                                           Refused{true, host::fault::kTextureUpdate, 6, 6}));

TEST_F(TextureRefusal, VideoAtTheNextFrameAfterAGammaChange) {
    setFile(frameprep::video());
    setTime(3);
    refreshWithFault(host::fault::kTextureAcquire, 1);
    setTime(4);
    refresh();
    ASSERT_EQ(plug("gamma").setFloat(0.5f), MStatus::kSuccess);
    refresh();
    EXPECT_EQ(drawnTexture().pixels, frameprep::withGamma(videoFrame(4), 0.5f));
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

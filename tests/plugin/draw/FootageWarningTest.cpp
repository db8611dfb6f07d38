#include "SheetFixture.h"

#include "draw/PlaceholderCard.h"

#include <host/IdleQueue.h>
#include <host/MainThread.h>
#include <host/Messages.h>

#include <sys/stat.h>

#include <string>

namespace {

// Footage that cannot be shown: the card stands in for it, and the node warns once per cause,
// from the main thread's idle queue.
class FootageWarning : public SheetFixture {
protected:
    void SetUp() override {
        SheetFixture::SetUp();
        host::runIdleQueue();
        host::resetMessageCounts();
    }

    // Refreshes at two frames, twice each, and lets the main thread idle: one warning,
    // "sheetShape: <text>", and the card each time.
    void expectOneWarning(const std::string& file, const std::string& text) {
        setFile(file);
        const int before = host::messageCounts().warnings;
        for (double time : {1.0, 1.0, 2.0, 2.0}) {
            setTime(time);
            refresh();
            EXPECT_TRUE(drewCard()) << file << " at " << time;
            host::runIdleQueue();
        }
        EXPECT_EQ(host::messageCounts().warnings - before, 1) << file;
        EXPECT_EQ(host::lastMessage(host::MessageKind::kWarning), "sheetShape: " + text);
    }

    static std::string cannotShow(const std::string& file, const std::string& reason) {
        return "cannot show \"" + file + "\": " + reason;
    }

    testsupport::TempDir folder;
};

// Shown again only when the path or the cause changes, or after the footage played.
TEST_F(FootageWarning, AgainOnlyForAnotherPathOrCauseOrAfterRecovery) {
    const std::string missing = folder.file("shot.mov");
    expectOneWarning(missing, cannotShow(missing, "no such file at " + missing));
    const std::string other = folder.file("other.mov");
    expectOneWarning(other, cannotShow(other, "no such file at " + other));
    ASSERT_EQ(mkdir(other.c_str(), 0755), 0);
    expectOneWarning(other, cannotShow(other, "is a folder"));

    setFile(frameprep::pngSequence());
    refresh();
    ASSERT_TRUE(drewMesh());
    ASSERT_FALSE(drewCard());
    expectOneWarning(other, cannotShow(other, "is a folder"));
}

// The draw only queues the warning; the main thread shows it when it is idle.
TEST_F(FootageWarning, ShownFromTheIdleQueue) {
    setFile(folder.file("shot.mov"));
    refresh();
    EXPECT_EQ(host::messageCounts().warnings, 0);
    EXPECT_GT(host::idleQueueLength(), 0u);
    host::runIdleQueue();
    EXPECT_EQ(host::messageCounts().warnings, 1);
}

// Quotes and backslashes in a path reach the warning as they are.
TEST_F(FootageWarning, PathWithQuotesAndBackslashes) {
    const std::string odd = folder.file("say \"cheese\" \\ now.mov");
    expectOneWarning(odd, cannotShow(odd, "no such file at " + odd));
}

// A file that comes later replaces the card at the next refresh, at the same frame.
TEST_F(FootageWarning, FileThatAppearsReplacesTheCard) {
    const std::string later = folder.file("shot.####.png");
    setFile(later);
    setTime(2);
    refresh();
    ASSERT_TRUE(drewCard());
    testsupport::writeFile(folder.file("shot.0002.png"),
                           testsupport::readFile(frameprep::pngFrame(2)));
    refresh();
    EXPECT_FALSE(drewCard());
    EXPECT_EQ(drawnTexture().pixels, frameprep::pngPixels(2));
}

// The card is opaque, so that no alpha threshold discards it, and in the shape last shown.
TEST_F(FootageWarning, CardIsOpaqueAndKeepsTheShapeLastShown) {
    setFile(folder.file("nothing.mov"));
    refresh();
    Texture card = drawnTexture();
    EXPECT_EQ(card.width, card.height);
    for (std::size_t alpha = 3; alpha < card.pixels.size(); alpha += 4) {
        ASSERT_EQ(card.pixels[alpha], 255) << alpha;
    }

    setFile(frameprep::video());
    setTime(3);
    refresh();
    ASSERT_FALSE(drewCard());
    setFile(folder.file("nothing.mov"));
    refresh();
    card = drawnTexture();
    ASSERT_TRUE(drewCard());
    EXPECT_EQ(card.width, kCardLongSide);
    EXPECT_EQ(card.height, kCardLongSide * 64 / 96 + 1) << "rounded to the nearest";
}

}  // namespace

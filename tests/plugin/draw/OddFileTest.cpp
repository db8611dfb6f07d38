#include "SheetFixture.h"

#include <host/Viewport.h>

#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace {

// Paths that open (or would block when opened) but are no picture: the card is drawn, and the
// next real file is shown as usual.
class OddFile : public SheetFixture {
protected:
    void expectCardThenRecovery(const std::string& path) {
        setFile(frameprep::pngSequence());
        setTime(1);
        refresh();
        ASSERT_TRUE(drewMesh());

        setFile(path);
        refresh();
        EXPECT_TRUE(drewCard()) << path;

        setFile(frameprep::pngSequence());
        refresh();
        EXPECT_TRUE(drewMesh());
        EXPECT_FALSE(drewCard());
    }

    testsupport::TempDir folder;
};

TEST_F(OddFile, ShowsTheCardUntilAPictureComes) {
    ASSERT_EQ(mkdir(folder.file("dir.0001.png").c_str(), 0755), 0);
    ASSERT_EQ(mkdir(folder.file("clip.mov").c_str(), 0755), 0);
    ASSERT_EQ(mkfifo(folder.file("pipe.0001.png").c_str(), 0644), 0);
    // The kernel's pseudo-files look like regular files but are no media, whatever they are named.
    ASSERT_EQ(symlink("/proc/self/status", folder.file("status.0001.png").c_str()), 0);
    ASSERT_EQ(symlink("/proc/self/status", folder.file("status.mp4").c_str()), 0);
    std::vector<std::string> paths = {"/dev/zero", "/proc/self/mem", "/proc/self/status", ""};
    for (const char* name :
         {"dir.####.png", "clip.mov", "pipe.####.png", "status.####.png", "status.mp4"}) {
        paths.push_back(folder.file(name));
    }
    // A file without read permission, which the superuser reads all the same.
    if (geteuid() != 0) {
        const std::string file = folder.file("locked.0001.png");
        testsupport::writeFile(file, testsupport::readFile(frameprep::pngFrame(1)));
        ASSERT_EQ(chmod(file.c_str(), 0), 0);
        paths.push_back(folder.file("locked.####.png"));
    }
    for (const std::string& path : paths) {
        expectCardThenRecovery(path);
    }
}

// Looked at, not opened: opening a pipe or a device can have effects of its own, and each refresh
// would do it again. A refusal lasts until the path names something else; a path once found to
// name a picture is looked at again at every refresh, so the same path now naming a pipe (which
// may even take the picture's inode number) is refused, unopened.
TEST_F(OddFile, PipeIsRefusedUnopenedUntilReplacedByAPictureAndAfterIt) {
    const std::string path = folder.file("still.png");
    const auto refusedUnopened = [&](int frame) {
        const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        ASSERT_GE(watch, 0);
        ASSERT_GE(inotify_add_watch(watch, path.c_str(), IN_OPEN), 0);
        setTime(frame);
        refresh();
        EXPECT_TRUE(drewCard()) << "frame " << frame;
        char events[4096];
        EXPECT_LT(read(watch, events, sizeof events), 0) << "the pipe was opened at " << frame;
        close(watch);
    };
    ASSERT_EQ(mkfifo(path.c_str(), 0644), 0);
    setFile(path);
    refusedUnopened(1);
    refusedUnopened(2);

    ASSERT_EQ(unlink(path.c_str()), 0);
    testsupport::writeFile(path, testsupport::readFile(frameprep::pngFrame(2)));
    setTime(3);
    refresh();
    EXPECT_EQ(drawnTexture().pixels, frameprep::pngPixels(2));

    ASSERT_EQ(unlink(path.c_str()), 0);
    ASSERT_EQ(mkfifo(path.c_str(), 0644), 0);
    refusedUnopened(4);
}

}  // namespace

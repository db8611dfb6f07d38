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
// would do it again. A refusal lasts until the path names something else.
TEST_F(OddFile, PipeIsRefusedUnopenedUntilReplacedByAPicture) {
    const std::string pipe = folder.file("still.png");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0644), 0);
    const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    ASSERT_GE(inotify_add_watch(watch, pipe.c_str(), IN_OPEN), 0);
    setFile(pipe);
    for (int frame = 1; frame <= 3; ++frame) {
        setTime(frame);
        refresh();
        EXPECT_TRUE(drewCard());
    }
    char events[4096];
    EXPECT_LT(read(watch, events, sizeof events), 0) << "the pipe was opened";
    close(watch);

    ASSERT_EQ(unlink(pipe.c_str()), 0);
    testsupport::writeFile(pipe, testsupport::readFile(frameprep::pngFrame(2)));
    setTime(4);
    refresh();
    EXPECT_EQ(drawnTexture().pixels, frameprep::pngPixels(2));
}

// A path once found to name a picture is looked at again at every refresh: the same path now
// naming a pipe (which may even take the picture's inode number) is refused, unopened.
TEST_F(OddFile, PictureReplacedByAPipeIsRefusedUnopened) {
    const std::string path = folder.file("still.png");
    testsupport::writeFile(path, testsupport::readFile(frameprep::pngFrame(2)));
    setFile(path);
    setTime(1);
    refresh();
    ASSERT_EQ(drawnTexture().pixels, frameprep::pngPixels(2));

    ASSERT_EQ(unlink(path.c_str()), 0);
    ASSERT_EQ(mkfifo(path.c_str(), 0644), 0);
    const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    ASSERT_GE(inotify_add_watch(watch, path.c_str(), IN_OPEN), 0);
    setTime(2);
    refresh();
    EXPECT_TRUE(drewCard());
    char events[4096];
    EXPECT_LT(read(watch, events, sizeof events), 0) << "the pipe was opened";
    close(watch);
}

}  // namespace

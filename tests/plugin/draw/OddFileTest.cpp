#include "SheetFixture.h"

#include <host/Viewport.h>

#include <sys/stat.h>
#include <unistd.h>

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

TEST_F(OddFile, DirectoryNamedLikeAFrame) {
    ASSERT_EQ(mkdir(folder.file("dir.0001.png").c_str(), 0755), 0);
    expectCardThenRecovery(folder.file("dir.####.png"));
}

TEST_F(OddFile, DirectoryNamedLikeAVideo) {
    ASSERT_EQ(mkdir(folder.file("clip.mov").c_str(), 0755), 0);
    expectCardThenRecovery(folder.file("clip.mov"));
}

TEST_F(OddFile, PipeWithoutWriterDoesNotBlock) {
    ASSERT_EQ(mkfifo(folder.file("pipe.0001.png").c_str(), 0644), 0);
    expectCardThenRecovery(folder.file("pipe.####.png"));
}

TEST_F(OddFile, EndlessDevice) {
    expectCardThenRecovery("/dev/zero");
}

// The kernel's pseudo-files look like regular files but are no media, whatever they are named.
TEST_F(OddFile, KernelPseudoFiles) {
    for (const char* path : {"/proc/self/mem", "/proc/self/status"}) {
        expectCardThenRecovery(path);
    }
    ASSERT_EQ(symlink("/proc/self/status", folder.file("status.0001.png").c_str()), 0);
    expectCardThenRecovery(folder.file("status.####.png"));
    ASSERT_EQ(symlink("/proc/self/status", folder.file("status.mp4").c_str()), 0);
    expectCardThenRecovery(folder.file("status.mp4"));
}

TEST_F(OddFile, EmptyPath) {
    expectCardThenRecovery("");
}

TEST_F(OddFile, FileWithoutReadPermission) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "the superuser reads every file";
    }
    const std::string file = folder.file("locked.0001.png");
    testsupport::writeFile(file, testsupport::readFile(frameprep::pngFrame(1)));
    ASSERT_EQ(chmod(file.c_str(), 0), 0);
    expectCardThenRecovery(folder.file("locked.####.png"));
}

}  // namespace

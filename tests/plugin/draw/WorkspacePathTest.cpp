#include "SheetFixture.h"

#include <host/Interface.h>

#include <cstdlib>

namespace {

// A relative file path is read from the workspace root, after environment variables are
// expanded; the node keeps the path as it was given.
class WorkspacePathTest : public SheetFixture {
protected:
    void SetUp() override {
        SheetFixture::SetUp();
        const std::string sequence = frameprep::pngSequence();
        const std::size_t slash = sequence.rfind('/');
        folder = sequence.substr(0, slash);
        relative = sequence.substr(slash + 1);
    }
    void TearDown() override {
        unsetenv("CINESHEET_TEST_PLATE");
        host::resetInterface();
        SheetFixture::TearDown();
    }
    void openWorkspace(const std::string& root) {
        run("workspace -openWorkspace \"" + root + "\"");
    }

    std::string folder;    // holds the sequence
    std::string relative;  // the sequence's name inside it
    testsupport::TempDir elsewhere;
};

TEST_F(WorkspacePathTest, ARelativePathIsReadFromTheWorkspaceRoot) {
    openWorkspace(folder);
    setFile(relative);
    setTime(1);
    refresh();
    EXPECT_TRUE(drewMesh());
    EXPECT_EQ(std::string(plug("file").asString().asChar()), relative);

    setenv("CINESHEET_TEST_PLATE", relative.substr(0, relative.find('.')).c_str(), 1);
    setFile("$CINESHEET_TEST_PLATE" + relative.substr(relative.find('.')));
    setTime(2);
    refresh();
    EXPECT_TRUE(drewMesh()) << "environment variables expand before the root is added";
}

// The root is asked for when the path or the frame changes, not at a standing frame.
TEST_F(WorkspacePathTest, AnotherProjectIsSeenAtTheNextFrame) {
    openWorkspace(folder);
    setFile(relative);
    setTime(1);
    refresh();
    ASSERT_TRUE(drewMesh());

    openWorkspace(elsewhere.path());
    refresh();
    EXPECT_TRUE(drewMesh());
    setTime(2);
    refresh();
    EXPECT_TRUE(drewCard()) << "the relative path is not in the new project";

    openWorkspace(folder);
    setTime(3);
    refresh();
    EXPECT_TRUE(drewMesh());
    EXPECT_FALSE(drewCard());

    // An absolute path is used as given, whatever the project.
    openWorkspace(elsewhere.path());
    setFile(folder + "/" + relative);
    setTime(4);
    refresh();
    EXPECT_TRUE(drewMesh());
    EXPECT_FALSE(drewCard());
}

}  // namespace

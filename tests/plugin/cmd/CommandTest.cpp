#include "NodeFixture.h"

#include "cmd/CineSheetCommand.h"
#include "node/CineSheet.h"

#include <host/Commands.h>
#include <host/Faults.h>
#include <host/Messages.h>
#include <host/Scene.h>
#include <host/UndoQueue.h>

#include <maya/MFnDagNode.h>
#include <maya/MGlobal.h>
#include <maya/MPlug.h>
#include <maya/MPlugArray.h>
#include <maya/MStringArray.h>

#include <string>

namespace {

// The command is used here as the plug-in registers it.
const host::BuiltinCommandRegistrar cineSheetCommand("cineSheet", CineSheetCommand::creator,
                                                     CineSheetCommand::newSyntax);

struct Invocation {
    MStatus status;
    MStringArray result;
    std::string errors;
};

Invocation cineSheet(const std::string& flags) {
    Invocation run;
    testing::internal::CaptureStderr();
    run.status =
        MGlobal::executeCommand(MString(("cineSheet " + flags).c_str()), run.result, false, true);
    run.errors = testing::internal::GetCapturedStderr();
    return run;
}

// What the command writes on standard error when the check at this line fails with this status,
// before the host adds its own error message.
std::string report(int line, const MStatus& status) {
    return "\nAPI error detected in ../cmd at line " + std::to_string(line) + "\n" +
           status.errorString().asChar() + "\n";
}

bool startsWith(const std::string& text, const std::string& start) {
    return text.compare(0, start.size(), start) == 0;
}

class CommandTest : public NodeFixture {
protected:
    // "node.attribute" feeding the plug, "" when it is not connected as a destination.
    static std::string sourceOf(const char* nodeName, const char* attribute) {
        const MObject node = nodeNamed(nodeName);
        if (node.isNull()) {
            ADD_FAILURE() << "no node " << nodeName;
            return "";
        }
        const MPlug source = plug(node, attribute).source();
        return source.isNull() ? "" : source.name().asChar();
    }

    static void expectCameraConnected(const char* shape, const char* camera) {
        const std::string cam(camera);
        EXPECT_EQ(sourceOf(shape, "cameraWorldMatrix"), cam + ".worldMatrix[0]");
        EXPECT_EQ(sourceOf(shape, "cameraHAperture"), cam + ".horizontalFilmAperture");
        EXPECT_EQ(sourceOf(shape, "cameraVAperture"), cam + ".verticalFilmAperture");
        EXPECT_EQ(sourceOf(shape, "cameraFocalLength"), cam + ".focalLength");
        EXPECT_EQ(sourceOf(shape, "cameraFilmFit"), cam + ".filmFit");
        EXPECT_EQ(sourceOf(shape, "cameraOrthographic"), cam + ".orthographic");
        EXPECT_EQ(sourceOf(shape, "cameraOrthographicWidth"), cam + ".orthographicWidth");
    }

    static void expectNoCamera(const char* shape) {
        for (const char* input :
             {"cameraWorldMatrix", "cameraHAperture", "cameraVAperture", "cameraFocalLength",
              "cameraFilmFit", "cameraOrthographic", "cameraOrthographicWidth"}) {
            EXPECT_EQ(sourceOf(shape, input), "") << input;
        }
    }

    static std::string fileOf(const char* shape) {
        return plug(nodeNamed(shape), "file").asString().asChar();
    }
};

// Each command makes the next plane in the world, its shape following time unless told not to,
// the render resolution always, the camera asked for (a transform resolves to its shape) and
// the file; an empty argument is an absent flag.
TEST_F(CommandTest, FlagsWireTheCameraTimeAndFile) {
    const struct {
        const char* flags;
        const char* camera;  // null: none
        bool followsTime;
        const char* file;
    } cases[] = {
        {"", nullptr, true, ""},
        {"-camera perspShape -filePath \"/media/shot.mov\"", "perspShape", true, "/media/shot.mov"},
        {"-c persp -nt false", "perspShape", true, ""},
        {"-camera \"\" -filePath \"\"", nullptr, true, ""},
        {"-noTime true", nullptr, false, ""},
    };
    int made = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.flags);
        const Invocation run = cineSheet(c.flags);
        ASSERT_EQ(run.status, MStatus::kSuccess) << run.errors;
        EXPECT_EQ(run.errors, "");
        ++made;
        const std::string transformName = "cineSheet" + std::to_string(made);
        const std::string shapeName = "cineSheetShape" + std::to_string(made);
        // A file's start frame comes after the names.
        ASSERT_EQ(run.result.length(), *c.file != '\0' ? 3u : 2u);
        EXPECT_EQ(run.result[0].asChar(), transformName);
        EXPECT_EQ(run.result[1].asChar(), shapeName);
        const char* shape = shapeName.c_str();

        MFnDagNode transform(nodeNamed(transformName.c_str()));
        EXPECT_TRUE(transform.parent(0).hasFn(MFn::kWorld));
        EXPECT_EQ(transform.child(0), nodeNamed(shape));
        EXPECT_EQ(MFnDependencyNode(nodeNamed(shape)).typeName(), "CineSheet");
        EXPECT_EQ(sourceOf(shape, "frame"), c.followsTime ? "time1.outTime" : "");
        EXPECT_EQ(sourceOf(transformName.c_str(), "offsetParentMatrix"),
                  shapeName + ".cameraMatrix");
        EXPECT_EQ(sourceOf(shape, "renderWidth"), "defaultResolution.width");
        EXPECT_EQ(sourceOf(shape, "renderHeight"), "defaultResolution.height");
        if (c.camera != nullptr) {
            expectCameraConnected(shape, c.camera);
        } else {
            expectNoCamera(shape);
        }
        EXPECT_EQ(fileOf(shape), c.file);
    }
}

// Not parented under the camera: the placement reaches the transform through its parent-offset
// matrix.
TEST_F(CommandTest, TheCameraDrivesThePlacement) {
    ASSERT_EQ(cineSheet("-camera perspShape").status, MStatus::kSuccess);
    const MMatrix placement = matrixValue(plug(nodeNamed("cineSheetShape1"), "cameraMatrix"));
    EXPECT_NE(placement, MMatrix::identity);
    const MMatrix world =
        matrixValue(plug(nodeNamed("cineSheet1"), "worldMatrix").elementByLogicalIndex(0));
    EXPECT_TRUE(world.isEquivalent(placement, 1e-9));
}

// A camera that cannot be resolved is reported before anything is made: the API report of the
// camera check, then an error naming the cause; no node is left and nothing reaches the undo
// queue.
TEST_F(CommandTest, UnresolvableCameraFailsBeforeAnythingIsCreated) {
    // A rig whose first child is a transform: its camera shape, second, is not looked for.
    run("createNode transform -name rig; createNode transform -name offset -parent rig; "
        "createNode camera -name rigCameraShape -parent rig");
    const std::size_t nodesBefore = host::sceneNodes().size();
    for (const char* camera : {"rig", "nosuchcam", "time1"}) {
        SCOPED_TRACE(camera);
        host::UndoQueue::instance().clear();
        host::resetMessageCounts();
        const Invocation run = cineSheet(std::string("-camera ") + camera + " -f \"/a.mov\"");
        EXPECT_EQ(run.status, MStatus::kFailure);
        EXPECT_PRED2(startsWith, run.errors, report(112, MStatus::kFailure));
        EXPECT_EQ(host::lastMessage(host::MessageKind::kError),
                  std::string("cineSheet: \"") + camera + "\" is not a camera");
        EXPECT_EQ(host::messageCounts().errors, 1);
        EXPECT_EQ(host::sceneNodes().size(), nodesBefore);
        EXPECT_EQ(host::UndoQueue::instance().undoCount(), 0u);
    }
    EXPECT_TRUE(nodeNamed("cineSheetShape1").isNull());
    // The names were not used up: the next plane is the first.
    ASSERT_EQ(cineSheet("-camera rigCameraShape").status, MStatus::kSuccess);
    EXPECT_FALSE(nodeNamed("cineSheetShape1").isNull());
}

// A failure once the nodes exist takes back what the command made: nothing is left for an undo
// the failed command never gets.
TEST_F(CommandTest, AFailureAfterCreationLeavesNoNode) {
    ASSERT_TRUE(host::setFault(host::fault::kNoOffsetParentMatrix, true));
    const std::size_t nodesBefore = host::sceneNodes().size();
    const Invocation run = cineSheet("-camera persp -filePath \"/media/shot.mov\"");
    EXPECT_NE(run.status, MStatus::kSuccess);
    // The plug lookup's own status is the host's: the invalid name the host reports.
    EXPECT_PRED2(startsWith, run.errors, report(192, MStatus::kInvalidParameter));
    EXPECT_EQ(host::sceneNodes().size(), nodesBefore);
    EXPECT_TRUE(nodeNamed("cineSheetShape1").isNull());
    EXPECT_TRUE(nodeNamed("cineSheet1").isNull());
    EXPECT_EQ(host::UndoQueue::instance().undoCount(), 0u);
}

TEST_F(CommandTest, UndoRemovesEverythingAndRedoRestoresIt) {
    ASSERT_EQ(cineSheet("-camera perspShape -filePath \"/media/shot.mov\"").status,
              MStatus::kSuccess);
    run("undo");
    EXPECT_TRUE(nodeNamed("cineSheet1").isNull());
    EXPECT_TRUE(nodeNamed("cineSheetShape1").isNull());
    MPlugArray feeding;
    plug(nodeNamed("time1"), "outTime").destinations(feeding);
    EXPECT_EQ(feeding.length(), 0u);

    run("redo");
    expectCameraConnected("cineSheetShape1", "perspShape");
    EXPECT_EQ(sourceOf("cineSheetShape1", "renderWidth"), "defaultResolution.width");
    EXPECT_EQ(sourceOf("cineSheetShape1", "frame"), "time1.outTime");
    EXPECT_EQ(sourceOf("cineSheet1", "offsetParentMatrix"), "cineSheetShape1.cameraMatrix");
    EXPECT_EQ(fileOf("cineSheetShape1"), "/media/shot.mov");

    run("undo; redo; undo");
    EXPECT_TRUE(nodeNamed("cineSheetShape1").isNull());
}

// The plate stays on its camera: the transform's own channels are locked, so a stray setAttr (or
// drag) is refused with Maya's message and leaves the placement; undo takes the locked transform
// away with the node, redo locks it again, and a user may unlock it by hand.
TEST_F(CommandTest, TheTransformIsLockedOnItsCamera) {
    ASSERT_EQ(cineSheet("-camera perspShape").status, MStatus::kSuccess);
    const MObject transform = nodeNamed("cineSheet1");
    for (const char* channel : {"translate", "rotate", "scale"}) {
        EXPECT_TRUE(plug(transform, channel).isLocked()) << channel;
    }
    const MMatrix placed = matrixValue(plug(transform, "worldMatrix").elementByLogicalIndex(0));

    host::resetMessageCounts();
    EXPECT_NE(MGlobal::executeCommand("setAttr cineSheet1.translate 0.15 -0.05 0"),
              MStatus::kSuccess);
    EXPECT_EQ(host::lastMessage(host::MessageKind::kError),
              "setAttr: The attribute 'cineSheet1.translate' is locked or connected and cannot be "
              "modified.");
    EXPECT_NE(MGlobal::executeCommand("setAttr cineSheet1.rotateY 10"), MStatus::kSuccess);
    EXPECT_EQ(host::lastMessage(host::MessageKind::kError),
              "setAttr: The attribute 'cineSheet1.rotateY' is locked or connected and cannot be "
              "modified.");
    EXPECT_NE(plug(transform, "scaleX").setDouble(2.0), MStatus::kSuccess);
    EXPECT_TRUE(
        matrixValue(plug(transform, "worldMatrix").elementByLogicalIndex(0)).isEquivalent(placed));

    run("undo");
    EXPECT_TRUE(nodeNamed("cineSheet1").isNull());
    run("redo");
    EXPECT_TRUE(plug(nodeNamed("cineSheet1"), "translate").isLocked());

    run("setAttr -lock false cineSheet1.translate; setAttr cineSheet1.translateX 2");
    EXPECT_DOUBLE_EQ(plug(nodeNamed("cineSheet1"), "translateX").asDouble(), 2.0);
    int locked = 1;
    ASSERT_EQ(MGlobal::executeCommand("getAttr -lock cineSheet1.translate", locked),
              MStatus::kSuccess);
    EXPECT_EQ(locked, 0);
    ASSERT_EQ(MGlobal::executeCommand("getAttr -lock cineSheet1.rotate", locked),
              MStatus::kSuccess);
    EXPECT_EQ(locked, 1);
}

}  // namespace

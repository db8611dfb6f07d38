#include "TestNodes.h"

#include <host/MainThread.h>
#include <host/Messages.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MGlobal.h>
#include <maya/MImage.h>
#include <maya/MMatrix.h>
#include <maya/MSelectionList.h>
#include <maya/MThreadAsync.h>

#include "TestSupport.h"

#include <functional>
#include <thread>

namespace dgtest {
namespace {

class OffMainThread : public DgTest {
protected:
    void SetUp() override {
        DgTest::SetUp();
        host::resetOffMainThreadCalls();
        host::resetMessageCounts();
    }

    static void onAnotherThread(const std::function<void()>& work) { std::thread(work).join(); }
};

int occurrences(const std::string& text, const std::string& part) {
    int count = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

TEST_F(OffMainThread, EachCallIsCountedAndEachFunctionWarnedOnce) {
    createNode("dgDoubler", "a");
    const MPlug input = plugOf("a.input");
    input.asDouble();
    EXPECT_EQ(host::offMainThreadCalls(), 0u) << "calls on the main thread are not reported";

    testing::internal::CaptureStderr();
    onAnotherThread([&] {
        input.asDouble();
        input.asDouble();
        input.asInt();
    });
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(host::offMainThreadCalls(), 3u);
    EXPECT_EQ(occurrences(err, "// Warning: MPlug::asDouble called off the main thread //"), 1)
        << err;
    EXPECT_EQ(occurrences(err, "// Warning: MPlug::asInt called off the main thread //"), 1) << err;
    EXPECT_EQ(host::messageCounts().warnings, 2);
}

TEST_F(OffMainThread, EveryFamilyOfTheSingleThreadedApiIsReported) {
    createNode("dgDoubler", "a");
    const MObject node = nodeNamed("a");
    testing::internal::CaptureStderr();
    onAnotherThread([&] {
        MFnDependencyNode(node).name();
        MSelectionList list;
        list.add("a");
        MGlobal::mayaState();
        MImage image;
        image.create(2, 2);
    });
    const std::string err = testing::internal::GetCapturedStderr();
    for (const char* function : {"MFnDependencyNode::MFnDependencyNode", "MFnDependencyNode::name",
                                 "MSelectionList::add", "MGlobal::mayaState", "MImage::create"}) {
        EXPECT_NE(err.find(std::string(function) + " called off the main thread"),
                  std::string::npos)
            << function << " in:\n"
            << err;
    }
}

void nothing(void*) {}

TEST_F(OffMainThread, ValueClassesTasksAndTheIdleQueueAreFree) {
    ASSERT_EQ(MThreadAsync::init(), MStatus::kSuccess);
    testing::internal::CaptureStderr();
    onAnotherThread([] {
        MString text("a");
        text += "b";
        MMatrix matrix;
        matrix = matrix * matrix;
        MThreadAsync::createTask([](void*) -> MThreadRetVal { return nullptr; }, nullptr, nullptr,
                                 nullptr);
        MGlobal::executeCommandOnIdle("print \"\"");
        MGlobal::executeTaskOnIdle(nothing);
    });
    testing::internal::GetCapturedStderr();
    MThreadAsync::release();
    MGlobal::executeCommand("flushIdleQueue");
    EXPECT_EQ(host::offMainThreadCalls(), 0u);
}

// Nothing documents Maya's messages as safe from another thread: each one counts, and is still
// shown.
TEST_F(OffMainThread, MessagesBelongToTheMainThread) {
    testing::internal::CaptureStderr();
    onAnotherThread([] {
        MGlobal::displayInfo("from a thread");
        MGlobal::displayWarning("from a thread");
        MGlobal::displayError("from a thread");
    });
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(host::offMainThreadCalls(), 3u);
    EXPECT_NE(err.find("// Warning: from a thread //"), std::string::npos) << err;
    EXPECT_NE(err.find("MGlobal::displayWarning called off the main thread"), std::string::npos)
        << err;
}

// Through cinesheet-host: a plug-in command whose thread reads a plug twice.
TEST(OffMainThreadHost, HostConfigGivesTheCount) {
    const auto result = testsupport::runHostScript("loadPlugin \"" + testsupport::testPluginDir() +
                                                   "/liboffthread.so\";\n"
                                                   "createNode transform -n t;\n"
                                                   "hostConfig -q -offMainThreadCalls;\n"
                                                   "offThreadGetAttr t.translateX;\n"
                                                   "offThreadGetAttr t.translateX;\n"
                                                   "hostConfig -q -offMainThreadCalls;\n");
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.out.find("// Result: 0 //"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("// Result: 2 //"), std::string::npos) << result.out;
    EXPECT_EQ(occurrences(result.err, "// Warning: MPlug::asDouble called off the main thread //"),
              1)
        << result.err;
}

}  // namespace
}  // namespace dgtest

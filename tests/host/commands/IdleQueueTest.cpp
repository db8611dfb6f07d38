#include <gtest/gtest.h>
#include <host/Commands.h>
#include <host/IdleQueue.h>
#include <host/Messages.h>
#include <maya/MGlobal.h>

#include "TestSupport.h"

#include <string>
#include <thread>

namespace {

using testsupport::shellQuote;

std::string loadOffThread() {
    return "loadPlugin \"" + testsupport::testPluginDir() + "/liboffthread.so\";\n";
}

// offThreadIdle queues its command from a thread of its own.
const std::string kQueueFromAThread = "offThreadIdle \"print \\\"idle\\\\n\\\"\";\n";

TEST(IdleQueue, ACommandQueuedFromAThreadRunsAfterTheStatement) {
    const std::string script = loadOffThread() + kQueueFromAThread + "print \"next\\n\";\n";
    const auto given = testsupport::runHostScript(script);
    ASSERT_EQ(given.exitCode, 0) << given.err;
    EXPECT_NE(given.out.find("idle\nnext\n"), std::string::npos) << given.out;

    testsupport::TempDir folder;
    testsupport::writeFile(folder.file("queue.mel"), script);
    const auto fromFile = testsupport::runHost(shellQuote(folder.file("queue.mel")));
    ASSERT_EQ(fromFile.exitCode, 0) << fromFile.err;
    EXPECT_NE(fromFile.out.find("idle\nnext\n"), std::string::npos) << fromFile.out;

    const auto typed = testsupport::runCommand("printf '%s' " + shellQuote(script) + " | " +
                                               shellQuote(testsupport::hostBinary()));
    ASSERT_EQ(typed.exitCode, 0) << typed.err;
    EXPECT_NE(typed.out.find("idle\nnext\n"), std::string::npos) << typed.out;
}

// Inside a block nothing is top-level: the command waits for flushIdleQueue or the block's end.
TEST(IdleQueue, FlushIdleQueueRunsItWithinAStatement) {
    const auto result = testsupport::runHostScript(loadOffThread() + "{\n" + kQueueFromAThread +
                                                   "print \"queued\\n\";\n"
                                                   "flushIdleQueue;\n"
                                                   "print \"flushed\\n\";\n" +
                                                   kQueueFromAThread +
                                                   "print \"block ends\\n\";\n"
                                                   "}\n");
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.out.find("queued\nidle\nflushed\nblock ends\nidle\n"), std::string::npos)
        << result.out;
}

class IdleQueueInProcess : public ::testing::Test {
protected:
    void SetUp() override {
        host::runIdleQueue();
        host::resetMessageCounts();
    }
};

void countTask(void* data) {
    auto* calls = static_cast<std::pair<int, std::thread::id>*>(data);
    ++calls->first;
    calls->second = std::this_thread::get_id();
}

TEST_F(IdleQueueInProcess, RunsOnTheMainThreadAfterUserStatementsOnly) {
    std::pair<int, std::thread::id> calls{0, {}};
    std::thread([&calls] {
        EXPECT_EQ(MGlobal::executeTaskOnIdle(countTask, &calls), MStatus::kSuccess);
    }).join();
    ASSERT_EQ(host::idleQueueLength(), 1u);

    // A plug-in's own executeCommand is not a statement of the session.
    ASSERT_EQ(MGlobal::executeCommand("print \"\""), MStatus::kSuccess);
    EXPECT_EQ(calls.first, 0);

    ASSERT_EQ(host::runScript("print \"\"", false, false), MStatus::kSuccess);
    EXPECT_EQ(calls.first, 1);
    EXPECT_EQ(calls.second, std::this_thread::get_id());
    EXPECT_EQ(host::idleQueueLength(), 0u);
}

TEST_F(IdleQueueInProcess, AFailingCommandIsReportedAndTheRestStillRun) {
    std::thread([] {
        MGlobal::executeCommandOnIdle("noSuchCommand");
        MGlobal::executeCommandOnIdle("createNode transform -n idleMade");
    }).join();
    ASSERT_EQ(host::runScript("flushIdleQueue", false, false), MStatus::kSuccess);
    EXPECT_EQ(host::messageCounts().errors, 1);
    int exists = 0;
    ASSERT_EQ(MGlobal::executeCommand("objExists idleMade", exists), MStatus::kSuccess);
    EXPECT_EQ(exists, 1);
}

}  // namespace

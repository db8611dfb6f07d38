// A plug-in that parks one task per node for the node's life, run in cinesheet-host: with more
// nodes than threads the pool starves. Every run has a time limit; a run that has to hang is
// stopped by it.
#include <gtest/gtest.h>

#include "TestSupport.h"

#include <string>
#include <thread>

namespace {

using testsupport::shellQuote;

// Runs the script in cinesheet-host, stopped after the given number of seconds.
testsupport::CommandResult runWithLimit(const std::string& script, int seconds) {
    return testsupport::runCommand("timeout " + std::to_string(seconds) + " " +
                                   shellQuote(testsupport::hostBinary()) + " -c " +
                                   shellQuote(script));
}

std::string loadTaskPark() {
    return "loadPlugin \"" + testsupport::testPluginDir() + "/libtaskpark.so\";\n";
}

const int kTimeoutExit = 124;

TEST(ParkedTasks, AFreshSessionHasOneThreadPerLogicalProcessor) {
    const auto result = runWithLimit("threadCount -q -n;\n", 60);
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out,
              "// Result: " + std::to_string(std::thread::hardware_concurrency()) + " //\n");
}

TEST(ParkedTasks, TheThirdNodesTaskNeverStartsOnTwoThreads) {
    const auto result = runWithLimit("threadCount -n 2;\n" + loadTaskPark() +
                                         "createNode parkedTaskNode;\n"
                                         "createNode parkedTaskNode;\n"
                                         "createNode parkedTaskNode;\n"
                                         "taskParkStats -wait 1;\n"
                                         "threadCount -n 3;\n"
                                         "taskParkStats -wait 30;\n"
                                         "file -new -force;\n"
                                         "taskParkStats;\n",
                                     60);
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const std::string out = result.out;
    const auto starved = out.find("// Result: 2 0 //");
    const auto third = out.find("// Result: 3 0 //");
    const auto ended = out.find("// Result: 3 3 //");
    EXPECT_NE(starved, std::string::npos) << "two of three tasks start on two threads:\n" << out;
    EXPECT_NE(third, std::string::npos) << "a third thread starts the third task:\n" << out;
    EXPECT_NE(ended, std::string::npos) << out;
    EXPECT_TRUE(starved < third && third < ended) << out;
}

TEST(ParkedTasks, TasksThatEndShareTwoThreads) {
    const auto result = runWithLimit("threadCount -n 2;\n" + loadTaskPark() +
                                         "for ($i = 0; $i < 6; $i++) createNode endingTaskNode;\n"
                                         "taskParkStats -wait 30;\n",
                                     60);
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.out.find("// Result: 6 6 //"), std::string::npos) << result.out;
}

// Deleting the second node waits for the end of its task, which never started: as in Maya,
// that wait never returns.
TEST(ParkedTasks, WaitingForATaskThatNeverStartedNeverReturns) {
    const auto result = runWithLimit("threadCount -n 1;\n" + loadTaskPark() +
                                         "createNode parkedTaskNode;\n"
                                         "createNode parkedTaskNode;\n"
                                         "taskParkStats -wait 0.5;\n"
                                         "file -new -force;\n"
                                         "print \"the scene was cleared\\n\";\n",
                                     3);
    EXPECT_EQ(result.exitCode, kTimeoutExit) << result.out << result.err;
    EXPECT_NE(result.out.find("// Result: 1 0 //"), std::string::npos) << result.out;
    EXPECT_EQ(result.out.find("the scene was cleared"), std::string::npos) << result.out;
}

}  // namespace

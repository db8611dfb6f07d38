#include <gtest/gtest.h>
#include <host/Faults.h>
#include <host/Messages.h>
#include <host/UndoQueue.h>
#include <maya/MArgDatabase.h>
#define MNoVersionString
#include <maya/MFnPlugin.h>
#include <maya/MGlobal.h>
#include <maya/MPxCommand.h>

namespace {

int occurrences(const std::string& text, const std::string& part) {
    int count = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

// resultOf -kind int|double|string|strings|ints|none|fail
class ResultOf : public MPxCommand {
public:
    static void* creator() { return new ResultOf; }
    static MSyntax newSyntax() {
        MSyntax syntax;
        syntax.addFlag("-k", "-kind", MSyntax::kString);
        return syntax;
    }
    MStatus doIt(const MArgList& args) override {
        MString kind = MArgDatabase(syntax(), args).flagArgumentString("-kind", 0);
        if (kind == "int") {
            setResult(7);
        } else if (kind == "double") {
            setResult(0.945);
        } else if (kind == "string") {
            setResult(MString("ACEScg"));
        } else if (kind == "strings") {
            MStringArray names;
            names.append("sRGB");
            names.append("Raw");
            setResult(names);
        } else if (kind == "ints") {
            appendToResult(1);
            appendToResult(2);
        } else if (kind == "nested") {
            MString inner;
            MGlobal::executeCommand("resultOf -kind string", inner);
            setResult(MString("outer+") + inner);
        } else if (kind == "fail") {
            setResult(MString("partial"));
            return MStatus::kFailure;
        }
        return MStatus::kSuccess;
    }
};

int liveUndoables = 0;

class Undoable : public MPxCommand {
public:
    static void* creator() { return new Undoable; }
    Undoable() { ++liveUndoables; }
    ~Undoable() override { --liveUndoables; }
    // "undoableThing fail" fails, undoable as it is.
    MStatus doIt(const MArgList& args) override {
        return args.length() == 1 && args.asString(0) == "fail" ? MStatus::kFailure
                                                                : MStatus::kSuccess;
    }
    bool isUndoable() const override { return true; }
};

class ExecuteCommandTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        MObject none;
        MFnPlugin plugin(none);
        ASSERT_EQ(plugin.registerCommand("resultOf", ResultOf::creator, ResultOf::newSyntax),
                  MStatus::kSuccess);
        ASSERT_EQ(plugin.registerCommand("undoableThing", Undoable::creator), MStatus::kSuccess);
    }
    void SetUp() override {
        host::UndoQueue::instance().clear();
        host::resetMessageCounts();
    }
};

TEST_F(ExecuteCommandTest, ResultsComeBackAsTheAskedType) {
    int whole = 0;
    double number = 0.0;
    MString text;
    MStringArray texts;
    MIntArray ints;
    EXPECT_EQ(MGlobal::executeCommand("resultOf -kind int", whole), MStatus::kSuccess);
    EXPECT_EQ(whole, 7);
    EXPECT_EQ(MGlobal::executeCommand("resultOf -kind double", number), MStatus::kSuccess);
    EXPECT_DOUBLE_EQ(number, 0.945);
    EXPECT_EQ(MGlobal::executeCommand("resultOf -kind double", text), MStatus::kSuccess);
    EXPECT_EQ(text, "0.945");
    EXPECT_EQ(MGlobal::executeCommand("resultOf -kind string", text), MStatus::kSuccess);
    EXPECT_EQ(text, "ACEScg");
    EXPECT_EQ(MGlobal::executeCommand("resultOf -kind strings", texts), MStatus::kSuccess);
    ASSERT_EQ(texts.length(), 2u);
    EXPECT_EQ(texts[1], "Raw");
    EXPECT_EQ(MGlobal::executeCommand("resultOf -kind string", texts), MStatus::kSuccess);
    EXPECT_EQ(texts.length(), 1u);
    EXPECT_EQ(MGlobal::executeCommand("resultOf -kind ints", ints), MStatus::kSuccess);
    EXPECT_EQ(ints.length(), 2u);
    EXPECT_EQ(MGlobal::executeCommand("resultOf -kind nested", text), MStatus::kSuccess);
    EXPECT_EQ(text, "outer+ACEScg");
}

TEST_F(ExecuteCommandTest, AResultOfAnotherShapeFailsAndLeavesTheOutput) {
    MString text("kept");
    int whole = 5;
    EXPECT_EQ(MGlobal::executeCommand("resultOf -kind strings", text), MStatus::kFailure);
    EXPECT_EQ(text, "kept");
    EXPECT_EQ(MGlobal::executeCommand("resultOf -kind string", whole), MStatus::kFailure);
    EXPECT_EQ(whole, 5);
}

TEST_F(ExecuteCommandTest, AFailingCommandGivesItsStatusAndOneError) {
    MString text("kept");
    EXPECT_EQ(MGlobal::executeCommand("resultOf -kind fail", text), MStatus::kFailure);
    EXPECT_EQ(text, "kept");
    EXPECT_EQ(host::messageCounts().errors, 1);
    EXPECT_NE(MGlobal::executeCommand("resultOf -bogus 1"), MStatus::kSuccess);
    EXPECT_NE(MGlobal::executeCommand("resultOf -kind"), MStatus::kSuccess);
    EXPECT_EQ(host::messageCounts().errors, 3);
}

// A plug-in runs this query with display off at every refresh; when it keeps failing, standard
// error shows it once while the count keeps every failure.
TEST_F(ExecuteCommandTest, WithDisplayOffARepeatedErrorIsPrintedOnceAndCountedEveryTime) {
    const std::string line = "// Error: colorManagementPrefs: color management is not available //";
    host::setFault(host::fault::kColorManagementQuery, true);
    MStringArray names;
    testing::internal::CaptureStderr();
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(MGlobal::executeCommand("colorManagementPrefs -q -inputSpaceNames", names),
                  MStatus::kFailure);
    }
    EXPECT_EQ(MGlobal::executeCommand("resultOf -kind fail"), MStatus::kFailure);
    const std::string quiet = testing::internal::GetCapturedStderr();
    EXPECT_EQ(occurrences(quiet, line), 1) << quiet;
    EXPECT_EQ(occurrences(quiet, "// Error: resultOf"), 1) << quiet;
    EXPECT_EQ(host::messageCounts().errors, 4);
    EXPECT_EQ(host::lastMessage(host::MessageKind::kError).rfind("resultOf", 0), 0u);

    testing::internal::CaptureStderr();
    for (int i = 0; i < 2; ++i) {
        MGlobal::executeCommand("colorManagementPrefs -q -inputSpaceNames", names, true);
    }
    MGlobal::displayError("colorManagementPrefs: color management is not available");
    EXPECT_EQ(occurrences(testing::internal::GetCapturedStderr(), line), 3);
    EXPECT_EQ(host::messageCounts().errors, 7);

    host::resetMessageCounts();
    testing::internal::CaptureStderr();
    MGlobal::executeCommand("colorManagementPrefs -q -inputSpaceNames", names);
    MGlobal::executeCommand("colorManagementPrefs -q -inputSpaceNames", names);
    EXPECT_EQ(occurrences(testing::internal::GetCapturedStderr(), line), 1);
    host::clearFaults();
}

TEST_F(ExecuteCommandTest, OnlyUndoEnabledCallsReachTheUndoQueue) {
    EXPECT_EQ(MGlobal::executeCommand("undoableThing"), MStatus::kSuccess);
    EXPECT_EQ(host::UndoQueue::instance().undoCount(), 0u);
    EXPECT_EQ(liveUndoables, 0);
    EXPECT_EQ(MGlobal::executeCommand("undoableThing", false, true), MStatus::kSuccess);
    EXPECT_EQ(host::UndoQueue::instance().undoCount(), 1u);
    EXPECT_EQ(liveUndoables, 1);
    host::UndoQueue::instance().clear();
    EXPECT_EQ(liveUndoables, 0);
}

// Maya puts a command whose doIt failed on no undo queue: undo then reaches the one before it.
TEST_F(ExecuteCommandTest, AFailedCommandIsNotUndoable) {
    EXPECT_EQ(MGlobal::executeCommand("undoableThing", false, true), MStatus::kSuccess);
    EXPECT_NE(MGlobal::executeCommand("undoableThing fail", false, true), MStatus::kSuccess);
    EXPECT_EQ(host::UndoQueue::instance().undoCount(), 1u);
    EXPECT_EQ(liveUndoables, 1);
    host::UndoQueue::instance().clear();
}

TEST_F(ExecuteCommandTest, MessagesAreCountedByKind) {
    MGlobal::displayError("bad");
    MGlobal::displayWarning("careful");
    MGlobal::displayWarning("careful again");
    MGlobal::displayInfo("note");
    host::MessageCounts counts = host::messageCounts();
    EXPECT_EQ(counts.errors, 1);
    EXPECT_EQ(counts.warnings, 2);
    EXPECT_EQ(counts.infos, 1);
    EXPECT_EQ(host::lastMessage(host::MessageKind::kWarning), "careful again");
    host::resetMessageCounts();
    EXPECT_EQ(host::messageCounts().warnings, 0);
    EXPECT_EQ(MGlobal::mayaState(), MGlobal::kBatch);
}

TEST_F(ExecuteCommandTest, AStringResultComesWithItsStatus) {
    MStatus status;
    EXPECT_EQ(MGlobal::executeCommandStringResult("resultOf -kind string", false, false, &status),
              MString("ACEScg"));
    EXPECT_EQ(status, MStatus::kSuccess);
    EXPECT_EQ(MGlobal::executeCommandStringResult("resultOf -kind fail", false, false, &status),
              MString());
    EXPECT_EQ(status, MStatus::kFailure);
}

}  // namespace

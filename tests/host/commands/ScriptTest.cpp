#include <gtest/gtest.h>
#include <host/Commands.h>
#include <host/Messages.h>
#define MNoVersionString
#include <maya/MFnPlugin.h>
#include <maya/MGlobal.h>
#include <maya/MPxCommand.h>

#include <string>
#include <vector>

namespace {

// Every call of "recordWords" in order, each word as kind:text.
std::vector<std::vector<std::string>> calls;

class RecordWords : public MPxCommand {
public:
    static void* creator() { return new RecordWords; }
    MStatus doIt(const MArgList& args) override {
        std::vector<std::string> words;
        for (const host::ArgItem& item : host::ArgListAccess::items(args)) {
            static const char* kinds[] = {"word", "quoted", "number", "flag"};
            words.push_back(std::string(kinds[item.kind]) + ":" + item.text);
        }
        calls.push_back(words);
        return MStatus::kSuccess;
    }
};

class ScriptTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        MObject none;
        ASSERT_EQ(MFnPlugin(none).registerCommand("recordWords", RecordWords::creator),
                  MStatus::kSuccess);
    }
    void SetUp() override {
        calls.clear();
        host::resetMessageCounts();
    }
};

TEST_F(ScriptTest, SplitsStatementsAndKindsOfWords) {
    ASSERT_EQ(MGlobal::executeCommand("recordWords -flag 3 -2.5e-3 .5 -x1 name.attr on;"
                                      "recordWords \"a \\\"q\\\" \\\\ b\\n\\t\"  ;;"
                                      "recordWords"),
              MStatus::kSuccess);
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0],
              (std::vector<std::string>{"flag:flag", "number:3", "number:-2.5e-3", "number:.5",
                                        "flag:x1", "word:name.attr", "word:on"}));
    EXPECT_EQ(calls[1], (std::vector<std::string>{"quoted:a \"q\" \\ b\n\t"}));
    EXPECT_TRUE(calls[2].empty());
}

TEST_F(ScriptTest, CommentsAndNewlinesAreWhitespace) {
    ASSERT_EQ(MGlobal::executeCommand("// a comment; recordWords no\n"
                                      "recordWords\n  one /* two; */ three // four\n;"
                                      "recordWords \"// not a comment\";"),
              MStatus::kSuccess);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0], (std::vector<std::string>{"word:one", "word:three"}));
    EXPECT_EQ(calls[1], (std::vector<std::string>{"quoted:// not a comment"}));
}

TEST_F(ScriptTest, ASyntaxErrorRunsNothing) {
    for (const char* script :
         {"recordWords a; recordWords \"unclosed", "recordWords a; /* unclosed",
          "recordWords a; \"name\" b;", "recordWords a; -flag;", "recordWords a; 12 b;"}) {
        calls.clear();
        host::resetMessageCounts();
        EXPECT_NE(MGlobal::executeCommand(script), MStatus::kSuccess) << script;
        EXPECT_TRUE(calls.empty()) << script;
        EXPECT_EQ(host::messageCounts().errors, 1) << script;
    }
}

TEST(NumberFormatTest, NumbersPrintShortAndReadBack) {
    EXPECT_EQ(host::formatNumber(3.0), "3");
    EXPECT_EQ(host::formatNumber(-0.0), "0");
    EXPECT_EQ(host::formatNumber(0.945), "0.945");
    EXPECT_EQ(host::formatNumber(28.922), "28.922");
    EXPECT_EQ(host::formatNumber(static_cast<float>(0.1)), "0.1");
    EXPECT_EQ(host::formatNumber(1e20), "1e+20");
    for (double value : {1.0 / 3.0, 1234.56789, -98765.4321, 1e-9, 2.5e12 + 0.25, 24.0 / 1.001}) {
        double back = std::stod(host::formatNumber(value));
        EXPECT_NEAR(back, value, 1e-6) << value;
    }
}

}  // namespace

#include <gtest/gtest.h>
#include <maya/MString.h>
#include <maya/MStringArray.h>

#include <cstdlib>

namespace {

TEST(MString, AppendingNumbersGivesPlainDecimals) {
    EXPECT_EQ(MString() + 0.0, "0");
    EXPECT_EQ(MString() + -1.0, "-1");
    EXPECT_EQ(MString() + 7.0, "7");
    EXPECT_EQ(MString() + 12345.0, "12345");
    EXPECT_EQ(MString() + 1234567.0, "1234567");
    EXPECT_EQ(MString() + 12345678.0, "12345678");
    EXPECT_EQ(MString() + 12.5, "12.5");
    EXPECT_EQ(MString() + 0.1, "0.1");
    EXPECT_EQ(MString() + 2.5f, "2.5");
    EXPECT_EQ(MString("f") + 42 + "_" + 3u, "f42_3");
    MString text("n=");
    text += -3;
    text += 0.25;
    EXPECT_EQ(text, "n=-30.25");
}

TEST(MString, SubstituteReplacesEveryOccurrence) {
    MString text("x##y##z");
    EXPECT_EQ(text.substitute("##", "05"), MStatus::kSuccess);
    EXPECT_EQ(text, "x05y05z");

    MString runs("a###b");
    runs.substitute("##", "7");
    EXPECT_EQ(runs, "a7#b") << "matches are taken left to right without overlap";

    MString growing("aa");
    growing.substitute("a", "aa");
    EXPECT_EQ(growing, "aaaa") << "replacement text is not searched again";

    MString unchanged("abc");
    EXPECT_NE(unchanged.substitute("", "x"), MStatus::kSuccess);
    EXPECT_EQ(unchanged, "abc");

    MString first("1.1.1");
    first.substituteFirst(".", "-");
    EXPECT_EQ(first, "1-1.1");
}

TEST(MString, IndexAndSubstringEdges) {
    const MString path("/a/shot.0001.png");
    EXPECT_EQ(path.index('/'), 0);
    EXPECT_EQ(path.rindex('/'), 2);
    EXPECT_EQ(path.index('#'), -1);
    EXPECT_EQ(path.rindex('#'), -1);
    EXPECT_EQ(path.rindex('.'), 12);
    EXPECT_EQ(path.substring(13, 15), "png");
    EXPECT_EQ(path.substring(13, 100), "png") << "end is clamped";
    EXPECT_EQ(path.substring(-5, 1), "/a") << "start is clamped";
    EXPECT_EQ(path.substring(3, 3), "s") << "end is inclusive";
    EXPECT_EQ(path.substring(5, 4), "");
    EXPECT_EQ(MString().substring(0, 0), "");
    EXPECT_EQ(MString().index('a'), -1);
}

TEST(MString, CountsBytesAndCharacters) {
    const MString text("h\xC3\xA9llo");  // "héllo"
    EXPECT_EQ(text.length(), 6u);
    EXPECT_EQ(text.numChars(), 5u);
    EXPECT_EQ(text.index('l'), 3);
    EXPECT_EQ(text.indexW('l'), 2);
    EXPECT_EQ(text.substringW(1, 2), "\xC3\xA9l");
    EXPECT_EQ(MString("abcdef", 3), "abc");
}

TEST(MString, SplitDropsEmptyPieces) {
    MStringArray parts;
    EXPECT_EQ(MString("a,,b,").split(',', parts), MStatus::kSuccess);
    ASSERT_EQ(parts.length(), 2u);
    EXPECT_EQ(parts[0], "a");
    EXPECT_EQ(parts[1], "b");
    MString("").split(',', parts);
    EXPECT_EQ(parts.length(), 0u);
}

TEST(MString, NumberParsing) {
    EXPECT_TRUE(MString("42").isInt());
    EXPECT_EQ(MString(" -17 ").asInt(), -17);
    EXPECT_FALSE(MString("4x").isInt());
    EXPECT_EQ(MString("4x").asInt(), 0);
    EXPECT_FALSE(MString("").isInt());
    EXPECT_FALSE(MString("99999999999").isInt());
    EXPECT_FALSE(MString("40000").isShort());
    EXPECT_EQ(MString("-300").asShort(), -300);
    EXPECT_TRUE(MString("2.5e1").isDouble());
    EXPECT_DOUBLE_EQ(MString("2.5e1").asDouble(), 25.0);
    EXPECT_FLOAT_EQ(MString("0.5").asFloat(), 0.5f);
    EXPECT_FALSE(MString("abc").isDouble());
    EXPECT_FALSE(MString("-1").isUnsigned());
}

class ExpandPath : public testing::Test {
protected:
    void SetUp() override {
        setenv("VALUES_TEST_DIR", "/media/clips", 1);
        setenv("HOME", "/home/tester", 1);
        unsetenv("VALUES_TEST_UNSET");
    }
};

TEST_F(ExpandPath, ReplacesVariablesInBothForms) {
    MStatus status;
    EXPECT_EQ(MString("$VALUES_TEST_DIR/a.mov").expandFilePath(&status), "/media/clips/a.mov");
    EXPECT_EQ(status, MStatus::kSuccess);
    EXPECT_EQ(MString("${VALUES_TEST_DIR}x.mov").expandFilePath(), "/media/clipsx.mov");
}

// Maya documents that a variable that is not set stays as written, with kNotFound.
TEST_F(ExpandPath, KeepsAnUnsetVariableAsWrittenAndSaysNotFound) {
    MStatus status;
    EXPECT_EQ(MString("/x/$VALUES_TEST_UNSET/a.mov").expandFilePath(&status),
              "/x/$VALUES_TEST_UNSET/a.mov");
    EXPECT_EQ(status, MStatus::kNotFound);
    EXPECT_EQ(MString("${VALUES_TEST_UNSET}/$VALUES_TEST_DIR")
                  .expandEnvironmentVariablesAndTilde(&status),
              "${VALUES_TEST_UNSET}//media/clips");
    EXPECT_EQ(status, MStatus::kNotFound);
}

TEST_F(ExpandPath, KeepsDollarsThatNameNothing) {
    EXPECT_EQ(MString("cost$ 5").expandFilePath(), "cost$ 5");
    EXPECT_EQ(MString("a${open").expandFilePath(), "a${open");
    EXPECT_EQ(MString("end$").expandFilePath(), "end$");
}

TEST_F(ExpandPath, ReplacesOnlyALeadingTilde) {
    EXPECT_EQ(MString("~/a.mov").expandEnvironmentVariablesAndTilde(), "/home/tester/a.mov");
    EXPECT_EQ(MString("~").expandFilePath(), "/home/tester");
    EXPECT_EQ(MString("~other/a").expandFilePath(), "~other/a");
    EXPECT_EQ(MString("/a/~/b").expandFilePath(), "/a/~/b");
    EXPECT_EQ(MString("/plain/path.mov").expandFilePath(), "/plain/path.mov");
}

}  // namespace

#include <gtest/gtest.h>
#include <host/ArgItem.h>
#include <host/Scene.h>
#include <host/SyntaxAccess.h>
#include <maya/MArgDatabase.h>
#include <maya/MArgList.h>
#include <maya/MSelectionList.h>
#include <maya/MSyntax.h>

#include <random>

namespace {

host::ArgItem word(host::ArgItem::Kind kind, const std::string& text, double number = 0.0) {
    host::ArgItem item;
    item.kind = kind;
    item.text = text;
    item.number = number;
    return item;
}

host::ArgItem flag(const std::string& name) {
    return word(host::ArgItem::kFlag, name);
}
host::ArgItem quoted(const std::string& text) {
    return word(host::ArgItem::kQuoted, text);
}
host::ArgItem bare(const std::string& text) {
    return word(host::ArgItem::kWord, text);
}
host::ArgItem number(const std::string& text, double value) {
    return word(host::ArgItem::kNumber, text, value);
}

MArgList argList(std::initializer_list<host::ArgItem> items) {
    MArgList args;
    for (const host::ArgItem& item : items) {
        host::ArgListAccess::append(args, item);
    }
    return args;
}

// The syntax of the plane creation command, plus an object list.
MSyntax planeSyntax() {
    MSyntax syntax;
    syntax.addFlag("-c", "-camera", MSyntax::kString);
    syntax.addFlag("-f", "-filePath", MSyntax::kString);
    syntax.addFlag("-nt", "-noTime", MSyntax::kBoolean);
    syntax.addFlag("-cnt", "-count", MSyntax::kLong);
    syntax.addFlag("-u", "-unsigned", MSyntax::kUnsigned);
    syntax.addFlag("-d", "-depth", MSyntax::kDouble);
    return syntax;
}

TEST(SyntaxTest, RefusesAFlagNameThatIsTaken) {
    MSyntax syntax = planeSyntax();
    EXPECT_EQ(syntax.addFlag("-c", "-colour", MSyntax::kString), MStatus::kFailure);
    EXPECT_EQ(syntax.addFlag("-cam", "-camera", MSyntax::kString), MStatus::kFailure);
    EXPECT_EQ(syntax.addFlag("x", "extra"), MStatus::kSuccess);
    EXPECT_NE(host::SyntaxAccess::findFlag(syntax, "-extra"), nullptr);
}

TEST(ArgDatabaseTest, ReadsFlagsByShortOrLongName) {
    MStatus status;
    MArgDatabase parsed(planeSyntax(),
                        argList({flag("camera"), bare("persp"), flag("nt"), bare("on"), flag("f"),
                                 quoted("/tmp/a b.mov"), flag("d"), number("-2.5", -2.5),
                                 flag("cnt"), number("7", 7)}),
                        &status);
    ASSERT_EQ(status, MStatus::kSuccess);
    EXPECT_TRUE(parsed.isFlagSet("-c"));
    EXPECT_TRUE(parsed.isFlagSet("camera"));
    EXPECT_FALSE(parsed.isFlagSet("-u"));

    MString camera;
    bool noTime = false;
    MString path;
    double depth = 0.0;
    int count = 0;
    EXPECT_EQ(parsed.getFlagArgument("-camera", 0, camera), MStatus::kSuccess);
    EXPECT_EQ(parsed.getFlagArgument("-nt", 0, noTime), MStatus::kSuccess);
    EXPECT_EQ(parsed.getFlagArgument("-filePath", 0, path), MStatus::kSuccess);
    EXPECT_EQ(parsed.getFlagArgument("-d", 0, depth), MStatus::kSuccess);
    EXPECT_EQ(parsed.getFlagArgument("-count", 0, count), MStatus::kSuccess);
    EXPECT_EQ(camera, "persp");
    EXPECT_TRUE(noTime);
    EXPECT_EQ(path, "/tmp/a b.mov");
    EXPECT_DOUBLE_EQ(depth, -2.5);
    EXPECT_EQ(count, 7);
    EXPECT_EQ(parsed.numberOfFlagsUsed(), 5u);
}

TEST(ArgDatabaseTest, BooleanFlagsTakeWordsAndNumbers) {
    for (const auto& [item, expected] : {std::pair{bare("true"), true},
                                         {bare("off"), false},
                                         {bare("yes"), true},
                                         {number("0", 0), false},
                                         {number("1", 1), true},
                                         {quoted("false"), false}}) {
        MArgDatabase parsed(planeSyntax(), argList({flag("noTime"), item}));
        bool value = !expected;
        EXPECT_EQ(parsed.getFlagArgument("-noTime", 0, value), MStatus::kSuccess) << item.text;
        EXPECT_EQ(value, expected) << item.text;
    }
}

TEST(ArgDatabaseTest, ANumberReadAsAStringKeepsItsDigits) {
    MArgDatabase parsed(planeSyntax(), argList({flag("c"), number("1e3", 1000)}));
    MString camera;
    EXPECT_EQ(parsed.getFlagArgument("-c", 0, camera), MStatus::kSuccess);
    EXPECT_EQ(camera, "1e3");
}

// Each case must fail to parse, and then every query fails and leaves its output alone.
TEST(ArgDatabaseTest, BadCallsFailAndLeaveOutputsUnchanged) {
    const std::vector<std::pair<const char*, MArgList>> badCalls = {
        {"unknown flag", argList({flag("bogus")})},
        {"missing argument", argList({flag("camera")})},
        {"flag instead of argument", argList({flag("camera"), flag("nt"), bare("on")})},
        {"word for a boolean", argList({flag("nt"), bare("maybe")})},
        {"string for an integer", argList({flag("cnt"), quoted("seven")})},
        {"fraction for an integer", argList({flag("cnt"), number("2.5", 2.5)})},
        {"negative for unsigned", argList({flag("u"), number("-1", -1)})},
        {"word for a double", argList({flag("d"), bare("far")})},
        {"flag used twice", argList({flag("c"), bare("a"), flag("camera"), bare("b")})},
        {"unexpected object", argList({flag("c"), bare("a"), bare("stray")})},
        {"query not enabled", argList({flag("q"), flag("c")})},
    };
    for (const auto& [what, args] : badCalls) {
        MStatus status;
        MArgDatabase parsed(planeSyntax(), args, &status);
        EXPECT_NE(status, MStatus::kSuccess) << what;

        MString camera("unchanged");
        bool noTime = true;
        int count = 42;
        double depth = 4.5;
        MStringArray objects;
        objects.append("kept");
        EXPECT_FALSE(parsed.isFlagSet("-c")) << what;
        EXPECT_NE(parsed.getFlagArgument("-c", 0, camera), MStatus::kSuccess) << what;
        EXPECT_NE(parsed.getFlagArgument("-nt", 0, noTime), MStatus::kSuccess) << what;
        EXPECT_NE(parsed.getFlagArgument("-cnt", 0, count), MStatus::kSuccess) << what;
        EXPECT_NE(parsed.getFlagArgument("-d", 0, depth), MStatus::kSuccess) << what;
        EXPECT_NE(parsed.getObjects(objects), MStatus::kSuccess) << what;
        EXPECT_EQ(camera, "unchanged");
        EXPECT_TRUE(noTime);
        EXPECT_EQ(count, 42);
        EXPECT_EQ(depth, 4.5);
        EXPECT_EQ(objects.length(), 1u);
    }
}

TEST(ArgDatabaseTest, ReadingAFlagAsTheWrongTypeFails) {
    MArgDatabase parsed(planeSyntax(),
                        argList({flag("c"), bare("persp"), flag("d"), number("1.5", 1.5)}));
    int count = 3;
    EXPECT_NE(parsed.getFlagArgument("-c", 0, count), MStatus::kSuccess);
    EXPECT_NE(parsed.getFlagArgument("-d", 0, count), MStatus::kSuccess);
    EXPECT_NE(parsed.getFlagArgument("-c", 1, count), MStatus::kSuccess);
    EXPECT_NE(parsed.getFlagArgument("-undeclared", 0, count), MStatus::kSuccess);
    EXPECT_EQ(count, 3);
}

TEST(ArgDatabaseTest, ObjectCountsAreChecked) {
    MSyntax syntax;
    syntax.setObjectType(MSyntax::kStringObjects, 1, 2);
    MStatus status;
    MArgDatabase none(syntax, argList({}), &status);
    EXPECT_NE(status, MStatus::kSuccess);
    MArgDatabase three(syntax, argList({bare("a"), bare("b"), bare("c")}), &status);
    EXPECT_NE(status, MStatus::kSuccess);
    MArgDatabase two(syntax, argList({bare("a"), number("-3", -3)}), &status);
    ASSERT_EQ(status, MStatus::kSuccess);
    MStringArray objects;
    EXPECT_EQ(two.getObjects(objects), MStatus::kSuccess);
    ASSERT_EQ(objects.length(), 2u);
    EXPECT_EQ(objects[1], "-3");
}

TEST(ArgDatabaseTest, QueryFlagsTakeNoArgumentsInQueryMode) {
    MSyntax syntax;
    syntax.addFlag("-t", "-time", MSyntax::kString);
    syntax.enableQuery();
    MStatus status;
    MArgDatabase query(syntax, argList({flag("q"), flag("time")}), &status);
    ASSERT_EQ(status, MStatus::kSuccess);
    EXPECT_TRUE(query.isQuery());
    EXPECT_TRUE(query.isFlagSet("-t"));
    MArgDatabase edit(syntax, argList({flag("time"), bare("film")}), &status);
    ASSERT_EQ(status, MStatus::kSuccess);
    EXPECT_FALSE(edit.isQuery());
    EXPECT_EQ(edit.flagArgumentString("-time", 0), "film");
}

TEST(ArgDatabaseTest, MultiUseFlagsKeepEveryUse) {
    MSyntax syntax;
    syntax.addFlag("-fl", "-fault", MSyntax::kString, MSyntax::kBoolean);
    syntax.makeFlagMultiUse("-fault");
    MArgDatabase parsed(syntax, argList({flag("fault"), bare("a"), bare("on"), flag("fl"),
                                         quoted("b"), number("0", 0)}));
    ASSERT_EQ(parsed.numberOfFlagUses("-fault"), 2u);
    MArgList second;
    ASSERT_EQ(parsed.getFlagArgumentList("-fault", 1, second), MStatus::kSuccess);
    EXPECT_EQ(second.asString(0), "b");
    EXPECT_FALSE(second.asBool(1));
    EXPECT_NE(parsed.getFlagArgumentList("-fault", 2, second), MStatus::kSuccess);
}

// Random words of every kind against a syntax with every argument type: never a crash, and a
// call that parses answers its queries consistently.
TEST(ArgDatabaseTest, RandomCallsNeverCrash) {
    MSyntax syntax = planeSyntax();
    syntax.setObjectType(MSyntax::kStringObjects, 0, 2);
    syntax.enableQuery();
    const std::vector<host::ArgItem> pool = {
        flag("c"),      flag("camera"),   flag("nt"),         flag("cnt"),
        flag("u"),      flag("d"),        flag("q"),          flag("zz"),
        bare("on"),     bare("persp"),    quoted(""),         quoted("-c"),
        number("3", 3), number("-1", -1), number("2.5", 2.5), number("1e40", 1e40)};
    std::mt19937 random(1234);
    for (int round = 0; round < 3000; ++round) {
        MArgList args;
        int length = static_cast<int>(random() % 7);
        for (int i = 0; i < length; ++i) {
            host::ArgListAccess::append(args, pool[random() % pool.size()]);
        }
        MStatus status;
        MArgDatabase parsed(syntax, args, &status);
        MString text;
        int whole = 0;
        double value = 0.0;
        bool flagValue = false;
        unsigned int natural = 0;
        parsed.getFlagArgument("-c", 0, text);
        parsed.getFlagArgument("-cnt", 0, whole);
        parsed.getFlagArgument("-d", 0, value);
        parsed.getFlagArgument("-nt", 0, flagValue);
        parsed.getFlagArgument("-u", 0, natural);
        parsed.getFlagArgument("-c", 5, value);
        MStringArray objects;
        EXPECT_EQ(static_cast<bool>(parsed.getObjects(objects)), static_cast<bool>(status));
        EXPECT_LE(objects.length(), 2u);
        EXPECT_EQ(parsed.isQuery() && !status, false);
    }
}

TEST(ArgDatabaseTest, ObjectsAndFlagArgumentsResolveToSceneNodes) {
    host::newScene();
    MSyntax syntax = planeSyntax();
    syntax.setObjectType(MSyntax::kSelectionList, 0, 2);
    MArgDatabase parsed(syntax, argList({flag("c"), bare("persp"), bare("time1"), quoted("top")}));
    MSelectionList objects;
    ASSERT_EQ(parsed.getObjects(objects), MStatus::kSuccess);
    EXPECT_EQ(objects.length(), 2u);
    MSelectionList camera;
    ASSERT_EQ(parsed.getFlagArgument("-c", 0, camera), MStatus::kSuccess);
    EXPECT_EQ(camera.length(), 1u);

    MArgDatabase unknown(syntax, argList({flag("c"), bare("nowhere"), bare("noNode")}));
    EXPECT_NE(unknown.getObjects(objects), MStatus::kSuccess);
    EXPECT_NE(unknown.getFlagArgument("-c", 0, camera), MStatus::kSuccess);
    EXPECT_EQ(objects.length(), 2u);
    EXPECT_EQ(camera.length(), 1u);
}

TEST(ArgListTest, ReadsWordsByIndex) {
    MArgList args = argList({flag("x"), number("12", 12), bare("yes"), quoted("3.5")});
    MStatus status;
    EXPECT_EQ(args.length(), 4u);
    EXPECT_EQ(args.asString(0), "-x");
    EXPECT_EQ(args.asInt(1, &status), 12);
    EXPECT_EQ(status, MStatus::kSuccess);
    EXPECT_TRUE(args.asBool(2, &status));
    EXPECT_DOUBLE_EQ(args.asDouble(3, &status), 3.5);
    EXPECT_EQ(args.flagIndex("-x"), 0u);
    EXPECT_EQ(args.flagIndex("-y", "-x"), 0u);
    EXPECT_EQ(args.flagIndex("-y"), MArgList::kInvalidArgIndex);
    args.asInt(0, &status);
    EXPECT_NE(status, MStatus::kSuccess);
    args.asString(9, &status);
    EXPECT_NE(status, MStatus::kSuccess);
}

TEST(ArgListTest, AddedArgumentsReadBack) {
    MArgList args;
    for (const MString& word : {MString("-camera"), MString("persp")}) {
        EXPECT_EQ(args.addArg(word), MStatus::kSuccess);
    }
    args.addArg(2.25);
    args.addArg(true);
    EXPECT_EQ(args.flagIndex("c", "camera"), 0u);
    EXPECT_EQ(args.asString(1), "persp");
    EXPECT_DOUBLE_EQ(args.asDouble(2), 2.25);
    EXPECT_TRUE(args.asBool(3));
    unsigned int index = 0;
    MArgList counted;
    counted.addArg(2);
    for (const char* word : {"a", "b", "c"}) {
        counted.addArg(MString(word));
    }
    MStringArray strings = counted.asStringArray(index);
    EXPECT_EQ(strings.length(), 2u);
    EXPECT_EQ(index, 3u);
}

}  // namespace

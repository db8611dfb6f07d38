#include <gtest/gtest.h>
#include <host/Messages.h>
#include <host/Scene.h>
#include <maya/MGlobal.h>
#include <maya/MStringArray.h>

#include "ScriptResults.h"

#include "TestSupport.h"

#include <cstdlib>
#include <string>
#include <vector>

// The script language beyond plain commands: typed variables and arrays, procedures, control
// flow, command substitution, source and eval. Each script's last statement is its result.
namespace {

using scriptresults::failure;
using scriptresults::strings;
using scriptresults::text;

class ScriptLanguageTest : public ::testing::Test {
protected:
    void SetUp() override {
        host::newScene();
        host::resetMessageCounts();
    }
};

TEST_F(ScriptLanguageTest, VariablesKeepTheTypeTheyAreDeclaredWith) {
    EXPECT_EQ(text("int $i = 7 / 2; $i;"), "3");
    EXPECT_EQ(text("float $f = 7 / 2.0; $f;"), "3.5");
    EXPECT_EQ(text("int $t = 3.9; $t;"), "3");
    EXPECT_EQ(text("int $n = \"12 monkeys\"; $n + 1;"), "13");
    EXPECT_EQ(text("string $s = 1.5; $s + 1;"), "1.51");
    EXPECT_EQ(text("1 + 2 + \"a\" + 1 + 2;"), "3a12");
    EXPECT_EQ(text("$implicit = 2.5; $implicit * 2;"), "5");
    EXPECT_EQ(text("int $c = 5; $c += 2; $c++; $c -= 1; $c *= 3; $c;"), "21");
    EXPECT_EQ(text("(1 < 2) && !(2 == 3) && (\"a\" != \"b\") || 0;"), "1");
    EXPECT_EQ(text("-(2 - 5) % 2;"), "1");
}

TEST_F(ScriptLanguageTest, ArraysGrowWhenWrittenPastTheirEnd) {
    EXPECT_EQ(text("string $a[]; $a[2] = \"x\"; size($a);"), "3");
    EXPECT_EQ(strings("string $a[]; $a[2] = \"x\"; $a;"), (std::vector<std::string>{"", "", "x"}));
    EXPECT_EQ(text("int $n[] = {1, 2, 3}; $n[1] + $n[2] + $n[7];"), "5");
    EXPECT_EQ(strings("float $f[] = {1, 2.5}; $f;"), (std::vector<std::string>{"1", "2.5"}));
    EXPECT_EQ(text("string $w[]; $w[size($w)] = \"a\"; $w[size($w)] = \"b\"; size($w);"), "2");
    EXPECT_EQ(text("size(\"four\");"), "4");
}

TEST_F(ScriptLanguageTest, ScopesKeepVariablesApart) {
    EXPECT_EQ(text("global int $counted = 4; proc int readCounted() { global int $counted; "
                   "return $counted; } readCounted();"),
              "4");
    EXPECT_EQ(text("global int $counted; $counted;"), "4");
    // A script's own variables stay for the next script, as lines typed at a prompt.
    text("string $kept = \"k\"; { string $blockOnly = \"b\"; }");
    EXPECT_EQ(text("$kept;"), "k");
    EXPECT_EQ(failure("$blockOnly;"), "line 1: Undeclared variable $blockOnly");
    EXPECT_EQ(failure("proc setHidden() { int $hidden = 1; } setHidden(); $hidden;"),
              "line 1: Undeclared variable $hidden");
    EXPECT_EQ(failure("{ int $inner = 1; }\n$inner;"), "line 2: Undeclared variable $inner");
    EXPECT_EQ(failure("int $outer = 1; proc int peek() { return $outer; } peek();"),
              "line 1: Undeclared variable $outer");
    EXPECT_EQ(failure("string $list[] = \"x\";"),
              "line 1: Cannot convert data of type string to type string[]");
}

TEST_F(ScriptLanguageTest, ProceduresTakeTypedParametersAndReturnTypedValues) {
    const std::string repeat =
        "global proc string[] repeatWord(string $word, int $times) {"
        "  string $words[];"
        "  for ($i = 0; $i < $times; $i++) { $words[$i] = $word; }"
        "  return $words; }";
    EXPECT_EQ(strings(repeat + "repeatWord(\"ab\", 2);"), (std::vector<std::string>{"ab", "ab"}));
    EXPECT_EQ(strings("repeatWord ab 3;"), (std::vector<std::string>{"ab", "ab", "ab"}));
    EXPECT_EQ(text("proc float half(float $x) { return $x / 2; } half(3);"), "1.5");
    EXPECT_EQ(text("proc int total(int $values[]) { int $sum = 0; for ($v in $values) $sum += $v;"
                   " return $sum; } total({1, 2, 3});"),
              "6");
    EXPECT_EQ(text("proc int factorial(int $n) { if ($n <= 1) return 1; "
                   "return $n * factorial($n - 1); } factorial(5);"),
              "120");
    EXPECT_EQ(text("proc int later() { return sooner() + 1; } proc int sooner() { return 1; } "
                   "later();"),
              "2");
    EXPECT_EQ(failure("repeatWord(\"x\");"),
              "line 1: Wrong number of arguments on call to "
              "repeatWord");
    // A procedure without "global" belongs to the script that defines it.
    EXPECT_EQ(text("proc string onlyHere() { return \"here\"; } onlyHere();"), "here");
    EXPECT_EQ(failure("onlyHere();"), "Cannot find procedure \"onlyHere\".");
}

TEST_F(ScriptLanguageTest, ControlFlowChoosesAndRepeats) {
    EXPECT_EQ(text("string $r; int $x = 2; if ($x == 1) $r = \"one\"; else if ($x == 2) "
                   "$r = \"two\"; else $r = \"many\"; $r;"),
              "two");
    EXPECT_EQ(text("int $sum = 0; for ($i = 0; $i < 10; $i++) { if ($i == 2) continue; "
                   "if ($i == 5) break; $sum += $i; } $sum;"),
              "8");
    EXPECT_EQ(text("int $n = 0; while ($n < 100) $n = $n * 2 + 1; $n;"), "127");
    EXPECT_EQ(text("string $seen = \"\"; for ($name in {\"a\", \"b\"}) $seen += $name; $seen;"),
              "ab");
    EXPECT_EQ(failure("break;"),
              "line 1: 'return', 'break' or 'continue' outside a procedure or loop");
}

TEST_F(ScriptLanguageTest, CommandsTakeValuesAndGiveResults) {
    EXPECT_EQ(text("string $made = `createNode transform -n mover`; $made;"), "mover");
    EXPECT_EQ(text("string $node = \"mover\"; setAttr ($node + \".translateX\") (1 + 1.5);"
                   "getAttr mover.translateX;"),
              "2.5");
    EXPECT_EQ(text("float $x = `getAttr mover.translateX`; $x * 2;"), "5");
    EXPECT_EQ(text("objExists(\"mover\");"), "1");
    // An array argument gives the command one word per element.
    EXPECT_EQ(text("createNode transform -n other; string $both[] = {\"mover\", \"other\"};"
                   "delete $both; objExists mover;"),
              "0");
    EXPECT_EQ(text("string $all[] = `ls -type camera`; size($all);"), "4");
    EXPECT_EQ(failure("string $r = `noSuchCommand`;"), "Cannot find procedure \"noSuchCommand\".");
}

TEST_F(ScriptLanguageTest, CommandWordsKeepTheirShape) {
    EXPECT_EQ(text("objExists |persp|perspShape;"), "1");
    EXPECT_EQ(text("nodeType(\"|persp|perspShape\");"), "camera");
    EXPECT_EQ(text("setAttr persp.translateX -2.5e1; getAttr persp.translateX;"), "-25");
    EXPECT_EQ(text("setAttr persp.translateY (-2 * 3); getAttr persp.translateY;"), "-6");
    EXPECT_EQ(text("string $type = \"camera\"; string $found[] = `ls -type $type`; $found[0];"),
              "perspShape");
}

TEST_F(ScriptLanguageTest, ErrorsNameTheirLine) {
    EXPECT_EQ(failure("int $a = 1;\nint $b = ;"),
              "line 2: Syntax error: expected a value, found ';'");
    EXPECT_EQ(failure("proc f( {}"), "line 1: Syntax error: expected a parameter type, found '{'");
    EXPECT_EQ(failure("if (1) {\n"),
              "line 2: Syntax error: expected '}', found the end of the "
              "script");
    EXPECT_EQ(failure("string $s = `ls `nodeType persp``;"),
              "line 1: Syntax error: expected ';', found 'nodeType'");
    EXPECT_EQ(failure("int $a;\n\n$a = $missing;"), "line 3: Undeclared variable $missing");
    EXPECT_EQ(failure("string $one = `ls -type camera`;"),
              "line 1: Cannot convert data of type string[] to type string");
    EXPECT_EQ(failure("int $zero = 0; 1 / $zero;"), "line 1: Division by zero");
}

TEST_F(ScriptLanguageTest, SourceEvalAndTheScriptPath) {
    testsupport::TempDir folder;
    testsupport::writeFile(folder.file("autoFound.mel"),
                           "global proc string autoFound() { return \"found\"; }");
    testsupport::writeFile(folder.file("library.mel"),
                           "global proc int fromLibrary() { return inLibrary() + 6; }\n"
                           "proc int inLibrary() { return 1; }\n"
                           "global int $libraryLoaded = 1;");
    setenv("MAYA_SCRIPT_PATH", folder.path().c_str(), 1);
    // An unknown procedure is looked for as <name>.mel on the script path.
    EXPECT_EQ(text("autoFound();"), "found");
    EXPECT_EQ(text("exists autoFound;"), "1");
    EXPECT_EQ(text("source \"library.mel\"; fromLibrary();"), "7");
    EXPECT_EQ(text("global int $libraryLoaded; $libraryLoaded;"), "1");
    EXPECT_EQ(failure("inLibrary();"), "Cannot find procedure \"inLibrary\".");
    EXPECT_NE(failure("source missing;").find("Cannot find file \"missing\""), std::string::npos);
    unsetenv("MAYA_SCRIPT_PATH");

    EXPECT_EQ(text("eval(\"1 + 2\");"), "3");
    EXPECT_EQ(text("string $command = \"string $e = \\\"x\\\"; $e + \\\"y\\\"\"; eval $command;"),
              "xy");
    EXPECT_EQ(text("eval \"createNode\" \"transform\" \"-n\" \"evaluated\"; objExists evaluated;"),
              "1");
    EXPECT_EQ(text("match(\"[0-9]+\", \"shot.0012.exr\") + substring(\"abcdef\", 2, 4) + "
                   "tolower(\"MOV\");"),
              "0012bcdmov");
}

}  // namespace

#pragma once

#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MStringArray.h>
#include <maya/MSyntax.h>
#include <maya/MTypes.h>

#include <string>
#include <vector>

// The host's command table and script runner.
namespace host {

// Registers a host command (an MPxCommand subclass) at library load:
//   static host::BuiltinCommandRegistrar registrar("refresh", Refresh::creator,
//   Refresh::newSyntax);
struct BuiltinCommandRegistrar {
    BuiltinCommandRegistrar(const char* name, MCreatorFunction creator,
                            MCreateSyntaxFunction syntax);
};

// What one command left behind, as the script runner prints it.
struct CommandOutcome {
    MStatus status;
    std::string resultText;  // "" when the command set no result
};

// Runs a script of one or more commands. Stops at the first failure unless keepGoing.
// Results are printed as "// Result: ... //" to standard output when echoResults is true.
// The status is kFailure when any command failed (or the script does not parse).
MStatus runScript(const std::string& text, bool keepGoing, bool echoResults);

struct ScriptOptions {
    bool keepGoing = false;
    bool echoResults = false;
    // Undoable commands go onto the undo queue.
    bool recordUndo = true;
    // The statements are the user's (prompt, -c, script file): when the script is the outermost
    // one, the idle queue runs after each of its top-level statements.
    bool userStatements = true;
};
// As above; `last` receives the status and result of the last command that ran.
MStatus runScript(const std::string& text, const ScriptOptions& options,
                  CommandOutcome* last = nullptr);

// Set by "quit": the script runner stops, and the program ends.
bool quitRequested();
void requestQuit();
void clearQuitRequest();

bool commandExists(const std::string& name);

// Decimal text of a number as results print it: whole numbers without a fraction, others with
// as few digits as keep them within 1e-7 of the value ("0.945", "28.922", "3").
std::string formatNumber(double value);

}  // namespace host

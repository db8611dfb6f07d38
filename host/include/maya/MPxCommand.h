#pragma once

#include <maya/MApiNamespace.h>
#include <maya/MArgList.h>
#include <maya/MDoubleArray.h>
#include <maya/MIntArray.h>
#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MStringArray.h>
#include <maya/MSyntax.h>

namespace host {
struct CommandAccess;
}

OPENMAYA_MAJOR_NAMESPACE_OPEN

// Base class of commands. The host creates one object per call through the registered creator,
// calls doIt, and keeps the object for undo when isUndoable() is then true.
class MPxCommand {
public:
    enum MResultType { kLong, kDouble, kString, kNoArg };

    MPxCommand();
    virtual ~MPxCommand();

    virtual MStatus doIt(const MArgList& args) = 0;
    virtual MStatus undoIt();
    virtual MStatus redoIt();
    virtual bool isUndoable() const;
    virtual bool hasSyntax() const;

    // The syntax made by the syntax function the command was registered with.
    MSyntax syntax() const;
    MString commandString() const;
    MStatus setCommandString(const MString& text);
    bool isHistoryOn() const;
    MStatus setHistoryOn(bool state);

    // The result of the command being run.
    static void clearResult();
    static void setResult(unsigned int result);
    static void setResult(int result);
    static void setResult(float result);
    static void setResult(double result);
    static void setResult(bool result);
    static void setResult(const char* result);
    static void setResult(const MString& result);
    static void setResult(const MIntArray& result);
    static void setResult(const MDoubleArray& result);
    static void setResult(const MStringArray& result);
    static void appendToResult(int result);
    static void appendToResult(double result);
    static void appendToResult(bool result);
    static void appendToResult(const char* result);
    static void appendToResult(const MString& result);
    static void appendToResult(const MStringArray& result);
    static bool isCurrentResultArray();
    static MResultType currentResultType();
    static int currentIntResult(MStatus* ReturnStatus = nullptr);
    static double currentDoubleResult(MStatus* ReturnStatus = nullptr);
    static MString currentStringResult(MStatus* ReturnStatus = nullptr);

    static void displayInfo(const MString& message);
    static void displayWarning(const MString& message, bool showLineNumber = false);
    static void displayError(const MString& message, bool showLineNumber = false);

private:
    friend struct host::CommandAccess;
    MSyntax syntax_;
    MString commandString_;
    bool historyOn_ = true;
};

OPENMAYA_NAMESPACE_CLOSE

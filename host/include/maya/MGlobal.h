#pragma once

#include <maya/MApiNamespace.h>
#include <maya/MDoubleArray.h>
#include <maya/MIntArray.h>
#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MStringArray.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

// Application-wide services: running commands and showing messages.
// Like the rest of the API it belongs to the main thread; code on other threads reaches the
// main thread through the idle queue (executeCommandOnIdle, executeTaskOnIdle).
class MGlobal {
public:
    enum MMayaState { kInteractive = 0, kBatch = 1, kLibraryApp = 2, kBaseUIMode = 3 };
#if MAYA_API_VERSION >= 20230000
    enum MMayaFeatureSet { kComplete = 0, kRestricted = 1 };
#endif
    typedef void (*MIdleTaskCallback)(void* clientData);
    enum MIdleTaskPriority {
        kHighIdlePriority = 0,
        kLowIdlePriority = 1,
        kVeryLowIdlePriority = 2
    };

    // The stand-in host always runs without a user interface.
    static MMayaState mayaState(MStatus* ReturnStatus = nullptr);
    static MString mayaVersion();
    static int apiVersion();
#if MAYA_API_VERSION >= 20230000
    static MString mayaName();
    static MMayaFeatureSet mayaFeatureSet();
    static bool isInCrashHandler();
#endif

    // Runs a command script: kSuccess or kFailure. A result that cannot be given as the requested
    // type fails and leaves the output alone. With
    // displayEnabled false, results are not echoed and a message already printed by an earlier
    // such call is counted but not printed again (see host/Messages.h).
    static MStatus executeCommand(const MString& command, bool displayEnabled = false,
                                  bool undoEnabled = false);
    static MStatus executeCommand(const MString& command, int& result, bool displayEnabled = false,
                                  bool undoEnabled = false);
    static MStatus executeCommand(const MString& command, MIntArray& result,
                                  bool displayEnabled = false, bool undoEnabled = false);
    static MStatus executeCommand(const MString& command, double& result,
                                  bool displayEnabled = false, bool undoEnabled = false);
    static MStatus executeCommand(const MString& command, MDoubleArray& result,
                                  bool displayEnabled = false, bool undoEnabled = false);
    static MStatus executeCommand(const MString& command, MString& result,
                                  bool displayEnabled = false, bool undoEnabled = false);
    static MStatus executeCommand(const MString& command, MStringArray& result,
                                  bool displayEnabled = false, bool undoEnabled = false);
    // The result as text; "" when the command fails or gives an array.
    static MString executeCommandStringResult(const MString& command, bool displayEnabled = false,
                                              bool undoEnabled = false,
                                              MStatus* ResultStatus = nullptr);

    // Callable from any thread: queues the command, which runs later on the main thread (after
    // the statement running now, or at flushIdleQueue). Its result is not returned.
    static MStatus executeCommandOnIdle(const MString& command, bool displayEnabled = false);
    // The stand-in host has no Python: always kFailure.
    static MStatus executePythonCommandOnIdle(const MString& command, bool displayEnabled = false);
    // Queues task(clientData) like a command.
    static MStatus executeTaskOnIdle(MIdleTaskCallback task, void* clientData = nullptr,
                                     MIdleTaskPriority priority = kLowIdlePriority);

    // Printed on standard error as "// Error: text //", "// Warning: text //" and "// text //".
    static void displayInfo(const MString& theMessage);
    static void displayWarning(const MString& theWarning);
    static void displayError(const MString& theError);
};

OPENMAYA_NAMESPACE_CLOSE

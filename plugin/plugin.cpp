#include "cache/CacheBudget.h"
#include "cache/DecodingPool.h"
#include "cache/ProcessSpares.h"
#include "cache/RefreshDeadline.h"
#include "cmd/CineSheetCommand.h"
#include "cmd/CineSheetFootageFactsCommand.h"
#include "cmd/CineSheetReloadCommand.h"
#include "cmd/CineSheetSoundCommand.h"
#include "decode/FfmpegLog.h"
#include "draw/CineSheetDrawOverride.h"
#include "draw/RefreshKind.h"
#include "node/ApiErrorReport.h"
#include "node/CineSheet.h"
#include "node/ColorSpaceChoice.h"
#include "node/ResolutionInputs.h"

#include <maya/MDrawRegistry.h>
#include <maya/MFnPlugin.h>
#include <maya/MGlobal.h>
#include <maya/MPxNode.h>

#include <cstdlib>
#include <string>

namespace {

const char* const kSource = "../plugin";
const char* const kCommandName = "cineSheet";
const char* const kSoundCommandName = "cineSheetSound";
const char* const kReloadCommandName = "cineSheetReload";
const char* const kFootageFactsCommandName = "cineSheetFootageFacts";

}  // namespace

MStatus initializePlugin(MObject obj) {
    MFnPlugin plugin(obj, "Vorelk Studios Inc.", "1.01", "Any");
    // FFmpeg's lines would go to the terminal, where no artist looks; why a file cannot be shown
    // reaches the Script Editor as the node's warning instead.
    video::installFfmpegLog();
    MStatus status = plugin.registerNode(CineSheet::className, CineSheet::id, CineSheet::creator,
                                         CineSheet::initialize, MPxNode::kLocatorNode,
                                         &CineSheet::drawDbClassification);
    if (!status) {
        return reportApiError(kSource, 39, status);
    }
    status = MHWRender::MDrawRegistry::registerDrawOverrideCreator(CineSheet::drawDbClassification,
                                                                   CineSheet::drawRegistrantId,
                                                                   CineSheetDrawOverride::creator);
    if (!status) {
        return reportApiError(kSource, 46, status);
    }
    status = plugin.registerCommand(kCommandName, CineSheetCommand::creator,
                                    CineSheetCommand::newSyntax);
    if (!status) {
        return reportApiError(kSource, 53, status);
    }
    status = plugin.registerCommand(kSoundCommandName, CineSheetSoundCommand::creator,
                                    CineSheetSoundCommand::newSyntax);
    if (!status) {
        return reportApiError(kSource, 56, status);
    }
    status = plugin.registerCommand(kReloadCommandName, CineSheetReloadCommand::creator,
                                    CineSheetReloadCommand::newSyntax);
    if (!status) {
        return reportApiError(kSource, 59, status);
    }
    status = plugin.registerCommand(kFootageFactsCommandName, CineSheetFootageFactsCommand::creator,
                                    CineSheetFootageFactsCommand::newSyntax);
    if (!status) {
        return reportApiError(kSource, 62, status);
    }
    // Without them a scene opened under another colour configuration may show other spaces, but
    // everything else works.
    registerColorSpaceCallbacks();
    // Without them a scene saved before the node had resolution inputs frames its plane as for a
    // square picture until the inputs are connected by hand.
    registerResolutionCallbacks();
    // The menu item and the viewport filter are conveniences of interactive sessions: the
    // plug-in works without them, so a failure is reported but does not stop loading.
    status = plugin.registerUI("cineSheetCreateUI", "cineSheetDeleteUI");
    if (!status) {
        MGlobal::displayWarning(
            "CineSheet: the Create menu item and the Show menu filter could "
            "not be registered");
    }
    // The budget is read here, on the main thread, where what is wrong with the user's setting
    // can be shown; the caches made later only use it.
    for (const std::string& warning :
         {video::CacheBudget::instance().takeWarning(),
          video::chooseRefreshWait(std::getenv("CINESHEET_FRAME_WAIT_MS")).warning,
          video::DecodingPool::threadSettingWarning(std::getenv("CINESHEET_DECODER_THREADS")),
          chooseInteractiveWait(std::getenv("CINESHEET_INTERACTIVE_WAIT_MS")).warning}) {
        if (!warning.empty()) {
            MGlobal::displayWarning(MString("CineSheet: ") + warning.c_str());
        }
    }
    return MStatus::kSuccess;
}

MStatus uninitializePlugin(MObject obj) {
    MFnPlugin plugin(obj);
    // No decoding thread runs on into the library once it is unloaded; caches still alive let
    // go of the pool without its threads.
    video::DecodingPool::instance().shutdown();
    // Frame buffers no node holds go back to the system, and their thread ends.
    video::ProcessSpares::instance().freeAll();
    deregisterColorSpaceCallbacks();
    deregisterResolutionCallbacks();
    video::removeFfmpegLog();
    MStatus status = MHWRender::MDrawRegistry::deregisterDrawOverrideCreator(
        CineSheet::drawDbClassification, CineSheet::drawRegistrantId);
    if (!status) {
        return reportApiError(kSource, 68, status);
    }
    status = plugin.deregisterNode(CineSheet::id);
    if (!status) {
        return reportApiError(kSource, 71, status);
    }
    status = plugin.deregisterCommand(kCommandName);
    if (!status) {
        return reportApiError(kSource, 74, status);
    }
    status = plugin.deregisterCommand(kSoundCommandName);
    if (!status) {
        return reportApiError(kSource, 77, status);
    }
    status = plugin.deregisterCommand(kReloadCommandName);
    if (!status) {
        return reportApiError(kSource, 80, status);
    }
    status = plugin.deregisterCommand(kFootageFactsCommandName);
    if (!status) {
        return reportApiError(kSource, 83, status);
    }
    return MStatus::kSuccess;
}

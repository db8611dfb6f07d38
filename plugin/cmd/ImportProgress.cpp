#include "cmd/ImportProgress.h"

#include "node/MelString.h"

#include <maya/MGlobal.h>

#include <algorithm>

namespace {

void runMel(const std::string& command) {
    MGlobal::executeCommand(MString(command.c_str()), false, false);
}

}  // namespace

ImportProgress::ImportProgress(const std::string& what) : what_(what) {
    if (MGlobal::mayaState() != MGlobal::kInteractive) {
        return;
    }
    int shown = 0;
    const std::string command = "progressWindow -title \"CineSheet\" -progress 0 -status " +
                                melString(what) + " -isInterruptable true";
    window_ = MGlobal::executeCommand(MString(command.c_str()), shown, false, false) && shown != 0;
}

ImportProgress::~ImportProgress() {
    if (window_) {
        runMel("progressWindow -endProgress");
    }
}

void ImportProgress::show(int percent) {
    percent = std::clamp(percent, 0, 100);
    if (window_) {
        if (percent != shown_) {
            runMel("progressWindow -edit -progress " + std::to_string(percent));
        }
        shown_ = percent;
        return;
    }
    if (MGlobal::mayaState() == MGlobal::kInteractive) {
        return;
    }
    for (int tenth = shown_ / 10 + 1; tenth <= percent / 10; ++tenth) {
        const std::string line = "cineSheet: " + what_ + ": " + std::to_string(tenth * 10) + " %";
        MGlobal::displayInfo(MString(line.c_str()));
    }
    shown_ = std::max(shown_, percent / 10 * 10);
}

bool ImportProgress::cancelled() const {
    int cancelled = 0;
    return window_ &&
           MGlobal::executeCommand("progressWindow -query -isCancelled", cancelled, false, false) &&
           cancelled != 0;
}

#include <host/Commands.h>
#include <host/Interface.h>

#include "builtins/BuiltinSupport.h"
#include "ui/InterfaceState.h"

#include <algorithm>

// progressWindow as Autodesk's page describes it
// (https://help.autodesk.com/cloudhelp/2023/ENU/Maya-Tech-Docs/Commands/progressWindow.html):
//   progressWindow [-title s] [-status s] [-progress i] [-minValue i] [-maxValue i]
//                  [-isInterruptable b]           shows the window; 0 when one is already shown
//   progressWindow -edit [-progress i] [-step i] [-status s] ...
//   progressWindow -query -progress|-status|-isCancelled|...
//   progressWindow -endProgress                     takes it away
// Only one progress window is shown at a time. The page says nothing of batch sessions; as the
// most conservative reading this stand-in has it fail there like its other windows. The user's
// cancel (Esc in an interruptable window) is what a test sets with
// hostProgressWindow -cancelAt <progress>; hostProgressWindow -history lists what was shown.
namespace host::ui {
namespace {

ProgressWindowState& window() {
    return interfaceState().progressWindow;
}

bool cancelled() {
    const ProgressWindowState& state = window();
    return state.shown && state.interruptable && state.cancelAt >= 0 &&
           state.progress >= state.cancelAt;
}

class ProgressWindowCommand : public MPxCommand {
public:
    static void* creator() { return new ProgressWindowCommand; }
    static MSyntax newSyntax() {
        MSyntax syntax;
        syntax.addFlag("-t", "-title", MSyntax::kString);
        syntax.addFlag("-st", "-status", MSyntax::kString);
        syntax.addFlag("-pr", "-progress", MSyntax::kLong);
        syntax.addFlag("-s", "-step", MSyntax::kLong);
        syntax.addFlag("-min", "-minValue", MSyntax::kLong);
        syntax.addFlag("-max", "-maxValue", MSyntax::kLong);
        syntax.addFlag("-ii", "-isInterruptable", MSyntax::kBoolean);
        syntax.addFlag("-ic", "-isCancelled");
        syntax.addFlag("-ep", "-endProgress");
        syntax.enableQuery();
        syntax.enableEdit();
        return syntax;
    }

    MStatus doIt(const MArgList& args) override {
        if (!interactiveSession()) {
            return builtins::fail("progressWindow: there is no user interface in a batch session");
        }
        MArgDatabase parsed(syntax(), args);
        ProgressWindowState& state = window();
        if (parsed.isFlagSet("-endProgress")) {
            if (state.shown) {
                state.history.push_back("end");
            }
            state.shown = false;
            return MStatus::kSuccess;
        }
        if (parsed.isQuery()) {
            if (parsed.isFlagSet("-isCancelled")) {
                setResult(cancelled());
            } else if (parsed.isFlagSet("-progress")) {
                setResult(state.progress);
            } else {
                return builtins::fail("progressWindow: name what to query");
            }
            return MStatus::kSuccess;
        }
        if (!parsed.isEdit()) {
            if (state.shown) {
                setResult(false);
                return MStatus::kSuccess;
            }
            const int cancelAt = state.cancelAt;
            std::vector<std::string> history = std::move(state.history);
            state = ProgressWindowState();
            state.cancelAt = cancelAt;
            state.history = std::move(history);
            state.shown = true;
        } else if (!state.shown) {
            return builtins::fail("progressWindow: no progress window is shown");
        }
        auto text = [&](const char* flag) {
            return std::string(parsed.flagArgumentString(flag, 0).asChar());
        };
        if (parsed.isFlagSet("-isInterruptable")) {
            state.interruptable = parsed.flagArgumentBool("-isInterruptable", 0);
        }
        if (parsed.isFlagSet("-minValue")) {
            state.minValue = parsed.flagArgumentInt("-minValue", 0);
        }
        if (parsed.isFlagSet("-maxValue")) {
            state.maxValue = parsed.flagArgumentInt("-maxValue", 0);
        }
        if (!parsed.isEdit()) {
            state.history.push_back(
                "show " + (parsed.isFlagSet("-title") ? text("-title") : std::string()) + ": " +
                (parsed.isFlagSet("-status") ? text("-status") : std::string()));
        }
        int progress = state.progress;
        if (parsed.isFlagSet("-progress")) {
            progress = parsed.flagArgumentInt("-progress", 0);
        }
        if (parsed.isFlagSet("-step")) {
            progress += parsed.flagArgumentInt("-step", 0);
        }
        progress = std::clamp(progress, state.minValue, std::max(state.minValue, state.maxValue));
        if (progress != state.progress) {
            state.history.push_back(std::to_string(progress));
        }
        state.progress = progress;
        if (!parsed.isEdit()) {
            setResult(true);
        }
        return MStatus::kSuccess;
    }
};

// Host-only, for tests.
class HostProgressWindowCommand : public MPxCommand {
public:
    static void* creator() { return new HostProgressWindowCommand; }
    static MSyntax newSyntax() {
        MSyntax syntax;
        syntax.addFlag("-ca", "-cancelAt", MSyntax::kLong);
        syntax.addFlag("-h", "-history");
        return syntax;
    }

    MStatus doIt(const MArgList& args) override {
        MArgDatabase parsed(syntax(), args);
        if (parsed.isFlagSet("-cancelAt")) {
            window().cancelAt = parsed.flagArgumentInt("-cancelAt", 0);
        }
        if (parsed.isFlagSet("-history")) {
            MStringArray history;
            for (const std::string& entry : window().history) {
                history.append(MString(entry.c_str()));
            }
            setResult(history);
        }
        return MStatus::kSuccess;
    }
};

const BuiltinCommandRegistrar progressWindowCommand("progressWindow",
                                                    ProgressWindowCommand::creator,
                                                    ProgressWindowCommand::newSyntax);
const BuiltinCommandRegistrar hostProgressWindowCommand("hostProgressWindow",
                                                        HostProgressWindowCommand::creator,
                                                        HostProgressWindowCommand::newSyntax);

}  // namespace
}  // namespace host::ui

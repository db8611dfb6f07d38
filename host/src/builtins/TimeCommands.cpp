#include <host/Commands.h>
#include <host/Scene.h>
#include <maya/MTime.h>

#include "builtins/BuiltinSupport.h"

#include <utility>

// currentTime and currentUnit.
namespace host::builtins {
namespace {

const std::pair<const char*, MTime::Unit> kTimeUnits[] = {
    {"game", MTime::kGames},      {"film", MTime::kFilm},     {"pal", MTime::kPALFrame},
    {"ntsc", MTime::kNTSCFrame},  {"show", MTime::kShowScan}, {"palf", MTime::kPALField},
    {"ntscf", MTime::kNTSCField}, {"sec", MTime::kSeconds},   {"millisec", MTime::kMilliseconds},
    {"min", MTime::kMinutes},     {"hour", MTime::kHours},
};

class CurrentTimeCommand : public MPxCommand {
public:
    static MSyntax newSyntax() {
        MSyntax syntax = wordsSyntax(0, 1);
        syntax.addFlag("-u", "-update", MSyntax::kBoolean);
        syntax.enableQuery();
        syntax.enableEdit();
        return syntax;
    }

    // Query, or set the time in the UI unit; either way the result is the time in that unit.
    MStatus doIt(const MArgList& args) override {
        MArgDatabase parsed(syntax(), args);
        std::vector<std::string> words = objectWords(parsed);
        if (parsed.isQuery() || words.empty()) {
            if (!parsed.isQuery()) {
                return fail("currentTime: give a time, or -query");
            }
            setResult(currentTime().as(MTime::uiUnit()));
            return MStatus::kSuccess;
        }
        MArgList value;
        value.addArg(MString(words.front().c_str()));
        MStatus status;
        double frame = value.asDouble(0, &status);
        if (!status) {
            return fail("currentTime: '" + words.front() + "' is not a time");
        }
        previous_ = currentTime();
        wanted_ = MTime(frame, MTime::uiUnit());
        if (!(status = setCurrentTime(wanted_))) {
            return fail("currentTime: the time could not be set");
        }
        setResult(currentTime().as(MTime::uiUnit()));
        return MStatus::kSuccess;
    }

    bool isUndoable() const override { return true; }
    MStatus undoIt() override { return setCurrentTime(previous_); }
    MStatus redoIt() override { return setCurrentTime(wanted_); }

private:
    MTime previous_;
    MTime wanted_;
};

class CurrentUnitCommand : public MPxCommand {
public:
    static MSyntax newSyntax() {
        MSyntax syntax;
        syntax.addFlag("-t", "-time", MSyntax::kString);
        syntax.enableQuery();
        return syntax;
    }

    MStatus doIt(const MArgList& args) override {
        MArgDatabase parsed(syntax(), args);
        if (!parsed.isFlagSet("-time")) {
            return fail("currentUnit: only the -time unit is supported");
        }
        if (parsed.isQuery()) {
            for (const auto& [name, unit] : kTimeUnits) {
                if (unit == MTime::uiUnit()) {
                    setResult(MString(name));
                    return MStatus::kSuccess;
                }
            }
            return fail("currentUnit: the time unit has no name");
        }
        MString wanted;
        parsed.getFlagArgument("-time", 0, wanted);
        for (const auto& [name, unit] : kTimeUnits) {
            if (wanted == name) {
                return MTime::setUIUnit(unit);
            }
        }
        return fail("currentUnit: unknown time unit '" + std::string(wanted.asChar()) + "'");
    }
};

const BuiltinCommandRegistrar currentTimeCommand("currentTime", create<CurrentTimeCommand>,
                                                 CurrentTimeCommand::newSyntax);
const BuiltinCommandRegistrar currentUnitCommand("currentUnit", create<CurrentUnitCommand>,
                                                 CurrentUnitCommand::newSyntax);

}  // namespace
}  // namespace host::builtins

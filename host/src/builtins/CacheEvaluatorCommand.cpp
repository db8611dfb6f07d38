#include <host/CachedPlayback.h>
#include <host/Commands.h>
#include <maya/MStringArray.h>

#include "builtins/BuiltinSupport.h"

// cacheEvaluator -q -safeModeMessages / -safeModeTriggered: why Cached Playback would fall back
// to safe mode. The short flag names are the stand-in's: Maya's are not documented.
namespace host::builtins {
namespace {

class CacheEvaluatorCommand : public MPxCommand {
public:
    static MSyntax newSyntax() {
        MSyntax syntax = wordsSyntax(0, 0);
        syntax.addFlag("-smm", "-safeModeMessages");
        syntax.addFlag("-smt", "-safeModeTriggered");
        syntax.enableQuery();
        return syntax;
    }

    MStatus doIt(const MArgList& args) override {
        MArgDatabase parsed(syntax(), args);
        if (!parsed.isQuery()) {
            return fail(
                "cacheEvaluator: only -query of -safeModeMessages and "
                "-safeModeTriggered is available");
        }
        const std::vector<std::string> messages = safeModeMessages();
        if (parsed.isFlagSet("-safeModeTriggered")) {
            setResult(!messages.empty());
            return MStatus::kSuccess;
        }
        if (!parsed.isFlagSet("-safeModeMessages")) {
            return fail("cacheEvaluator: give -safeModeMessages or -safeModeTriggered");
        }
        MStringArray result;
        for (const std::string& message : messages) {
            result.append(message.c_str());
        }
        setResult(result);
        return MStatus::kSuccess;
    }
};

const BuiltinCommandRegistrar cacheEvaluatorCommand("cacheEvaluator", create<CacheEvaluatorCommand>,
                                                    CacheEvaluatorCommand::newSyntax);

}  // namespace
}  // namespace host::builtins

#include <host/Commands.h>

#include "builtins/BuiltinSupport.h"

#include <cstdio>
#include <memory>
#include <string>

// system "command line": runs the line in the shell and answers what it wrote on its standard
// output, as Maya's system command does on Linux (its standard error is not captured).
namespace host::builtins {
namespace {

class SystemCommand : public MPxCommand {
public:
    static MSyntax newSyntax() { return wordsSyntax(1, 1); }

    MStatus doIt(const MArgList& args) override {
        MArgDatabase parsed(syntax(), args);
        const std::string line = objectWords(parsed).front();
        std::unique_ptr<FILE, int (*)(FILE*)> shell(popen(line.c_str(), "r"), pclose);
        if (!shell) {
            return fail("system: cannot run the shell");
        }
        std::string output;
        char buffer[4096];
        for (size_t got; (got = fread(buffer, 1, sizeof buffer, shell.get())) > 0;) {
            output.append(buffer, got);
        }
        setResult(MString(output.c_str()));
        return MStatus::kSuccess;
    }
};

const BuiltinCommandRegistrar systemCommand("system", create<SystemCommand>,
                                            SystemCommand::newSyntax);

}  // namespace
}  // namespace host::builtins

#include "builtins/BuiltinSupport.h"

#include <maya/MFnDependencyNode.h>

#include "script/Lexer.h"

namespace host::builtins {

MStatus fail(const std::string& message) {
    showMessage(MessageKind::kError, message);
    return MStatus::kFailure;
}

MSyntax wordsSyntax(unsigned int minimum, unsigned int maximum) {
    MSyntax syntax;
    syntax.setObjectType(MSyntax::kStringObjects, minimum, maximum);
    return syntax;
}

std::vector<std::string> objectWords(const MArgDatabase& args) {
    MStringArray objects;
    args.getObjects(objects);
    std::vector<std::string> words;
    for (unsigned int i = 0; i < objects.length(); ++i) {
        words.push_back(objects[i].asChar());
    }
    return words;
}

std::string nameOf(const MObject& node) {
    return MFnDependencyNode(node).name().asChar();
}

std::string scriptWord(const std::string& value, bool forceQuotes) {
    double number = 0.0;
    if (!forceQuotes && script::parseNumber(value, &number)) {
        return value;
    }
    std::string quoted = "\"";
    for (char c : value) {
        switch (c) {
            case '"':
                quoted += "\\\"";
                break;
            case '\\':
                quoted += "\\\\";
                break;
            case '\n':
                quoted += "\\n";
                break;
            case '\t':
                quoted += "\\t";
                break;
            default:
                quoted += c;
                break;
        }
    }
    return quoted + "\"";
}

}  // namespace host::builtins

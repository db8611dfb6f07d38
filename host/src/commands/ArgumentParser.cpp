#include "commands/ArgumentParser.h"
#include <host/SyntaxAccess.h>

#include "commands/ArgumentValues.h"

#include <string>

namespace host {
namespace {

bool fitsType(const host::ArgItem& item, MSyntax::MArgType type) {
    bool flag = false;
    int whole = 0;
    unsigned int natural = 0;
    double number = 0.0;
    std::string text;
    switch (type) {
        case MSyntax::kBoolean:
            return argumentAsBool(item, &flag);
        case MSyntax::kLong:
            return argumentAsInt(item, &whole);
        case MSyntax::kUnsigned:
            return argumentAsUnsigned(item, &natural);
        case MSyntax::kDouble:
        case MSyntax::kDistance:
        case MSyntax::kAngle:
        case MSyntax::kTime:
            return argumentAsDouble(item, &number);
        default:
            return argumentAsString(item, &text);
    }
}

const char* typeName(MSyntax::MArgType type) {
    switch (type) {
        case MSyntax::kBoolean:
            return "a boolean";
        case MSyntax::kLong:
            return "an integer";
        case MSyntax::kUnsigned:
            return "a non-negative integer";
        case MSyntax::kDouble:
        case MSyntax::kDistance:
        case MSyntax::kAngle:
        case MSyntax::kTime:
            return "a number";
        default:
            return "a string";
    }
}

std::string shown(const host::ArgItem& item) {
    return item.kind == host::ArgItem::kFlag ? "-" + item.text : item.text;
}

class CallReader {
public:
    CallReader(ParsedArguments& parsed, const MArgList& args)
        : parsed_(parsed), items_(host::ArgListAccess::items(args)) {}

    void run() {
        findModes();
        for (std::size_t i = 0; i < items_.size() && parsed_.ok();) {
            i = items_[i].kind == host::ArgItem::kFlag ? readFlag(i) : readPositional(i);
        }
        if (parsed_.ok()) {
            checkPositional();
        }
    }

private:
    bool isModeFlag(const host::ArgItem& item, const char* shortName, const char* longName,
                    bool enabled) const {
        return enabled && item.kind == host::ArgItem::kFlag &&
               (item.text == shortName || item.text == longName);
    }

    // Query and edit change how many words the other flags take, wherever they appear.
    void findModes() {
        for (const host::ArgItem& item : items_) {
            parsed_.query |= isModeFlag(item, "q", "query", parsed_.syntax.canQuery());
            parsed_.edit |= isModeFlag(item, "e", "edit", parsed_.syntax.canEdit());
        }
        if (parsed_.query && parsed_.edit) {
            parsed_.error = "The query and edit flags cannot be used together";
        }
    }

    std::size_t readFlag(std::size_t index) {
        const host::ArgItem& word = items_[index];
        if (isModeFlag(word, "q", "query", parsed_.syntax.canQuery()) ||
            isModeFlag(word, "e", "edit", parsed_.syntax.canEdit())) {
            return index + 1;
        }
        const host::SyntaxFlag* flag = host::SyntaxAccess::findFlag(parsed_.syntax, word.text);
        if (!flag) {
            parsed_.error = "Invalid flag '-" + word.text + "'";
            return index;
        }
        if (!flag->multiUse && !parsed_.usesOf(word.text.c_str()).empty()) {
            parsed_.error = "Flag '-" + word.text + "' can only be used once";
            return index;
        }
        ParsedArguments::FlagUse use;
        use.flag = flag;
        std::size_t count = parsed_.query && !flag->queryWithArgs ? 0 : flag->argTypes.size();
        for (std::size_t k = 0; k < count; ++k) {
            std::size_t at = index + 1 + k;
            if (at >= items_.size() || items_[at].kind == host::ArgItem::kFlag) {
                parsed_.error =
                    "Flag '-" + word.text + "' needs " + std::to_string(count) + " argument(s)";
                return index;
            }
            if (!fitsType(items_[at], flag->argTypes[k])) {
                parsed_.error = "Flag '-" + word.text + "' needs " + typeName(flag->argTypes[k]) +
                                ", not '" + shown(items_[at]) + "'";
                return index;
            }
            use.values.push_back(items_[at]);
        }
        parsed_.uses.push_back(use);
        return index + 1 + count;
    }

    std::size_t readPositional(std::size_t index) {
        parsed_.positional.push_back(items_[index]);
        return index + 1;
    }

    void checkPositional() {
        const MSyntax& syntax = parsed_.syntax;
        std::size_t count = parsed_.positional.size();
        if (host::SyntaxAccess::objectFormat(syntax) == MSyntax::kStringObjects ||
            host::SyntaxAccess::objectFormat(syntax) == MSyntax::kSelectionList) {
            bool fromSelection = count == 0 && host::SyntaxAccess::selectionAsDefault(syntax);
            if (!fromSelection && count < syntax.minObjects()) {
                parsed_.error =
                    "Too few objects: at least " + std::to_string(syntax.minObjects()) + " needed";
            } else if (count > syntax.maxObjects()) {
                parsed_.error =
                    "Too many objects: at most " + std::to_string(syntax.maxObjects()) + " allowed";
            }
            return;
        }
        const std::vector<MSyntax::MArgType>& types = host::SyntaxAccess::commandArgs(syntax);
        if (count != types.size()) {
            parsed_.error =
                count > types.size()
                    ? "Unexpected argument '" + shown(parsed_.positional[types.size()]) + "'"
                    : "Missing argument: " + std::to_string(types.size()) + " needed";
            return;
        }
        for (std::size_t i = 0; i < count; ++i) {
            if (!fitsType(parsed_.positional[i], types[i])) {
                parsed_.error = "Argument " + std::to_string(i + 1) + " must be " +
                                typeName(types[i]) + ", not '" + shown(parsed_.positional[i]) + "'";
                return;
            }
        }
    }

    ParsedArguments& parsed_;
    const std::vector<host::ArgItem>& items_;
};

}  // namespace

std::vector<const ParsedArguments::FlagUse*> ParsedArguments::usesOf(const char* flagName) const {
    std::vector<const FlagUse*> found;
    const host::SyntaxFlag* flag = host::SyntaxAccess::findFlag(syntax, flagName ? flagName : "");
    for (const FlagUse& use : uses) {
        if (flag && use.flag == flag) {
            found.push_back(&use);
        }
    }
    return found;
}

std::shared_ptr<ParsedArguments> parseArguments(const MSyntax& syntax, const MArgList& args) {
    auto parsed = std::make_shared<ParsedArguments>();
    parsed->syntax = syntax;
    CallReader(*parsed, args).run();
    if (!parsed->ok()) {
        parsed->uses.clear();
        parsed->positional.clear();
        parsed->query = parsed->edit = false;
    }
    return parsed;
}

}  // namespace host

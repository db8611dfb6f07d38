#pragma once

#include <string>
#include <vector>

namespace host {

// The result a command sets: nothing, or one value or an array of integers, numbers or strings.
struct CommandResult {
    enum Type { kNone, kInt, kDouble, kString };
    Type type = kNone;
    bool isArray = false;
    std::vector<int> ints;
    std::vector<double> doubles;
    std::vector<std::string> strings;

    // The elements as text, separated by single spaces.
    std::string text() const;
    std::vector<std::string> elementTexts() const;
};

// Commands can run inside commands (a plug-in running a query while it works), so each run gets
// its own result; MPxCommand's result setters write to the innermost one.
class ResultScope {
public:
    ResultScope();
    ~ResultScope();
    ResultScope(const ResultScope&) = delete;
    ResultScope& operator=(const ResultScope&) = delete;
    const CommandResult& result() const;
};

// The innermost running command's result, or null outside any command.
CommandResult* currentResult();

}  // namespace host

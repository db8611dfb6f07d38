#include "commands/CommandResult.h"

#include <host/Commands.h>

namespace host {
namespace {

thread_local std::vector<CommandResult> resultStack;

}  // namespace

std::vector<std::string> CommandResult::elementTexts() const {
    std::vector<std::string> texts;
    switch (type) {
        case kInt:
            for (int value : ints) {
                texts.push_back(std::to_string(value));
            }
            break;
        case kDouble:
            for (double value : doubles) {
                texts.push_back(formatNumber(value));
            }
            break;
        case kString:
            texts = strings;
            break;
        default:
            break;
    }
    return texts;
}

std::string CommandResult::text() const {
    std::string joined;
    std::vector<std::string> texts = elementTexts();
    for (std::size_t i = 0; i < texts.size(); ++i) {
        joined += (i == 0 ? "" : " ") + texts[i];
    }
    return joined;
}

ResultScope::ResultScope() {
    resultStack.emplace_back();
}
ResultScope::~ResultScope() {
    resultStack.pop_back();
}
const CommandResult& ResultScope::result() const {
    return resultStack.back();
}

CommandResult* currentResult() {
    return resultStack.empty() ? nullptr : &resultStack.back();
}

}  // namespace host

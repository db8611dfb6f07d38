#include <host/Messages.h>

#include <iostream>
#include <mutex>
#include <set>

namespace host {
namespace {

struct MessageLog {
    std::mutex mutex;
    MessageCounts counts;
    std::string lastError;
    std::string lastWarning;
    std::string lastInfo;
    // Lines already printed while quiet.
    std::set<std::string> printedQuietly;
};

MessageLog& log() {
    static MessageLog instance;
    return instance;
}

thread_local bool quietHere = false;

std::string lineOf(MessageKind kind, const std::string& text) {
    switch (kind) {
        case MessageKind::kError:
            return "// Error: " + text + " //";
        case MessageKind::kWarning:
            return "// Warning: " + text + " //";
        default:
            return "// " + text + " //";
    }
}

}  // namespace

void showMessage(MessageKind kind, const std::string& text) {
    MessageLog& messages = log();
    std::lock_guard<std::mutex> lock(messages.mutex);
    switch (kind) {
        case MessageKind::kError:
            ++messages.counts.errors;
            messages.lastError = text;
            break;
        case MessageKind::kWarning:
            ++messages.counts.warnings;
            messages.lastWarning = text;
            break;
        case MessageKind::kInfo:
            ++messages.counts.infos;
            messages.lastInfo = text;
            break;
    }
    const std::string line = lineOf(kind, text);
    if (!quietHere || messages.printedQuietly.insert(line).second) {
        std::cerr << line << std::endl;
    }
}

QuietMessages::QuietMessages(bool quiet) : outer_(quietHere) {
    quietHere = quiet;
}

QuietMessages::~QuietMessages() {
    quietHere = outer_;
}

MessageCounts messageCounts() {
    MessageLog& messages = log();
    std::lock_guard<std::mutex> lock(messages.mutex);
    return messages.counts;
}

std::string lastMessage(MessageKind kind) {
    MessageLog& messages = log();
    std::lock_guard<std::mutex> lock(messages.mutex);
    switch (kind) {
        case MessageKind::kError:
            return messages.lastError;
        case MessageKind::kWarning:
            return messages.lastWarning;
        default:
            return messages.lastInfo;
    }
}

void resetMessageCounts() {
    MessageLog& messages = log();
    std::lock_guard<std::mutex> lock(messages.mutex);
    messages.counts = MessageCounts();
    messages.lastError.clear();
    messages.lastWarning.clear();
    messages.lastInfo.clear();
    messages.printedQuietly.clear();
}

}  // namespace host

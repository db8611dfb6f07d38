#include <host/Messages.h>

#include <iostream>
#include <mutex>

namespace host {
namespace {

struct MessageLog {
    std::mutex mutex;
    MessageCounts counts;
    std::string lastError;
    std::string lastWarning;
    std::string lastInfo;
};

MessageLog& log() {
    static MessageLog instance;
    return instance;
}

}  // namespace

void showMessage(MessageKind kind, const std::string& text) {
    MessageLog& messages = log();
    std::lock_guard<std::mutex> lock(messages.mutex);
    switch (kind) {
        case MessageKind::kError:
            ++messages.counts.errors;
            messages.lastError = text;
            std::cerr << "// Error: " << text << " //" << std::endl;
            break;
        case MessageKind::kWarning:
            ++messages.counts.warnings;
            messages.lastWarning = text;
            std::cerr << "// Warning: " << text << " //" << std::endl;
            break;
        case MessageKind::kInfo:
            ++messages.counts.infos;
            messages.lastInfo = text;
            std::cerr << "// " << text << " //" << std::endl;
            break;
    }
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
}

}  // namespace host

#pragma once

#include <string>

// Error, warning and information messages shown to the user, counted so that tests can check
// how often each kind was shown.
namespace host {

enum class MessageKind { kError, kWarning, kInfo };

// Prints "// Error: text //", "// Warning: text //" or "// text //" on standard error.
void showMessage(MessageKind kind, const std::string& text);

struct MessageCounts {
    int errors = 0;
    int warnings = 0;
    int infos = 0;
};
MessageCounts messageCounts();
// The text of the newest message of this kind ("" when none since the reset).
std::string lastMessage(MessageKind kind);
void resetMessageCounts();

}  // namespace host

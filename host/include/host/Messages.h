#pragma once

#include <string>

// Error, warning and information messages shown to the user, counted so that tests can check
// how often each kind was shown.
namespace host {

enum class MessageKind { kError, kWarning, kInfo };

// Prints "// Error: text //", "// Warning: text //" or "// text //" on standard error.
void showMessage(MessageKind kind, const std::string& text);

// While one with quiet true lives on a thread, messages are counted as usual but each distinct
// message is printed only the first time since resetMessageCounts. Commands run with display
// off (MGlobal::executeCommand) are quiet: a plug-in's query that fails the same way at every
// refresh is reported once, not once per refresh. Nested scopes restore the outer setting.
class QuietMessages {
public:
    explicit QuietMessages(bool quiet);
    ~QuietMessages();
    QuietMessages(const QuietMessages&) = delete;
    QuietMessages& operator=(const QuietMessages&) = delete;

private:
    bool outer_;
};

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

#include <host/Commands.h>
#include <host/IdleQueue.h>
#include <host/Interface.h>
#include <host/Messages.h>
#include <host/Modules.h>
#include <host/Plugins.h>
#include <host/Scene.h>
#include <host/UndoQueue.h>

#include "ProgramOptions.h"

#include <unistd.h>

#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

namespace {

bool readWhole(std::istream& in, std::string* text) {
    std::ostringstream contents;
    contents << in.rdbuf();
    *text = contents.str();
    return !in.bad();
}

class Session {
public:
    explicit Session(bool keepGoing) { options_.keepGoing = keepGoing; }

    // False when the run must stop: a command failed (without --keep-going) or "quit" ran.
    bool run(const std::string& text) {
        options_.echoResults = true;
        if (!host::runScript(text, options_)) {
            failed_ = true;
            if (!options_.keepGoing) {
                return false;
            }
        }
        return !host::quitRequested();
    }

    bool runFile(const std::string& path) {
        std::ifstream file(path, std::ios::binary);
        std::string text;
        if (!file || !readWhole(file, &text)) {
            host::showMessage(host::MessageKind::kError, "Cannot read script \"" + path + "\"");
            failed_ = true;
            return options_.keepGoing;
        }
        return run(text);
    }

    // One line at a time from a terminal; an error does not end the prompt.
    void prompt() {
        options_.keepGoing = true;
        std::string line;
        while (true) {
            std::cout << "cinesheet> " << std::flush;
            if (!std::getline(std::cin, line) || !run(line)) {
                break;
            }
        }
    }

    int exitCode() const { return failed_ ? 1 : 0; }

private:
    host::ScriptOptions options_;
    bool failed_ = false;
};

}  // namespace

int main(int argc, char** argv) {
    ProgramOptions options = parseProgramOptions(argc, argv);
    if (!options.error.empty()) {
        std::cerr << "cinesheet-host: " << options.error << "\n" << programUsage();
        return 2;
    }
    if (options.showHelp) {
        std::cout << programUsage();
        return 0;
    }
    host::applyMayaModules();
    host::newScene();
    host::setInteractiveSession(options.interactive);
    host::setIdleEventsProcessed(!options.batch);
    Session session(options.keepGoing);
    if (options.sources.empty()) {
        if (isatty(STDIN_FILENO)) {
            session.prompt();
        } else {
            std::string text;
            readWhole(std::cin, &text);
            session.run(text);
        }
    }
    for (const ProgramOptions::Source& source : options.sources) {
        if (!(source.isFile ? session.runFile(source.text) : session.run(source.text))) {
            break;
        }
    }
    host::UndoQueue::instance().clear();
    host::unloadAllPlugins();
    return session.exitCode();
}

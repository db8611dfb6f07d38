#include "ProgramOptions.h"

ProgramOptions parseProgramOptions(int argc, char** argv) {
    ProgramOptions options;
    for (int i = 1; i < argc; ++i) {
        std::string word = argv[i];
        if (word == "-c") {
            if (i + 1 >= argc) {
                options.error = "-c needs a command text";
                return options;
            }
            options.sources.push_back({false, argv[++i]});
        } else if (word == "--interactive") {
            options.interactive = true;
        } else if (word == "-batch") {
            options.batch = true;
        } else if (word == "--keep-going") {
            options.keepGoing = true;
        } else if (word == "-h" || word == "--help") {
            options.showHelp = true;
        } else if (word.size() > 1 && word[0] == '-') {
            options.error = "unknown option " + word;
            return options;
        } else {
            options.sources.push_back({true, word});
        }
    }
    if (options.batch && options.interactive) {
        options.error = "-batch and --interactive exclude each other";
    }
    return options;
}

const char* programUsage() {
    return "usage: cinesheet-host [-c \"commands\"] [--keep-going] [--interactive | -batch] "
           "[script ...]\n"
           "Runs the -c texts and script files in the order given. With neither, reads\n"
           "commands from standard input (a prompt when it is a terminal).\n"
           "--interactive runs an interactive session (main window, menus, panels, plug-in UI)\n"
           "rather than a batch one.\n"
           "-batch runs a batch session as maya -batch does: queued idle work runs only at\n"
           "flushIdleQueue, never by itself after a statement.\n"
           "Exit status: 1 when any command failed, 0 otherwise.\n";
}

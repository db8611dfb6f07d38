#pragma once

#include <string>
#include <vector>

// What the command line asks cinesheet-host to run.
struct ProgramOptions {
    struct Source {
        bool isFile = false;
        std::string text;  // the -c text, or the script's path
    };
    std::vector<Source> sources;
    bool keepGoing = false;
    bool interactive = false;  // --interactive: an interactive session, not a batch one
    bool batch = false;        // -batch: as maya -batch, no idle events processed
    bool showHelp = false;
    std::string error;  // empty when the command line was understood
};

ProgramOptions parseProgramOptions(int argc, char** argv);
const char* programUsage();

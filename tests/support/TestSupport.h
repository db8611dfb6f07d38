#pragma once

#include <string>
#include <vector>

// Small helpers shared by the test suites.
namespace testsupport {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

struct CommandResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs a shell command line and captures both output streams.
CommandResult runCommand(const std::string& commandLine);
// Runs cinesheet-host with the given arguments (already quoted for the shell).
CommandResult runHost(const std::string& arguments);
// Runs cinesheet-host on one script text given with -c.
CommandResult runHostScript(const std::string& script, bool keepGoing = false);

std::string shellQuote(const std::string& text);
std::string readFile(const std::string& path);
std::vector<unsigned char> readBytes(const std::string& path);
void writeFile(const std::string& path, const std::string& contents);
bool fileExists(const std::string& path);

// Paths of the built programs and plug-ins, from the build or the environment.
std::string hostBinary();
std::string pluginPath();
std::string testPluginDir();

}  // namespace testsupport

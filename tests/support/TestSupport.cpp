#include "TestSupport.h"

#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

namespace testsupport {
namespace {

std::string environmentOr(const char* name, const std::string& fallback) {
    const char* value = std::getenv(name);
    return value && *value ? std::string(value) : fallback;
}

}  // namespace

TempDir::TempDir() {
    std::string pattern = environmentOr("TMPDIR", "/tmp") + "/cinesheet-test-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (!mkdtemp(buffer.data())) {
        throw std::runtime_error("mkdtemp failed for " + pattern);
    }
    path_ = buffer.data();
}

TempDir::~TempDir() {
    if (!path_.empty()) {
        std::string command = "rm -rf " + shellQuote(path_);
        if (std::system(command.c_str()) != 0) {
            std::fprintf(stderr, "could not remove %s\n", path_.c_str());
        }
    }
}

CommandResult runCommand(const std::string& commandLine) {
    TempDir streams;
    std::string outPath = streams.file("out");
    std::string errPath = streams.file("err");
    std::string full = "(" + commandLine + ") >" + shellQuote(outPath) + " 2>" +
                       shellQuote(errPath) + " </dev/null";
    int raw = std::system(full.c_str());
    CommandResult result;
    result.exitCode = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
    result.out = readFile(outPath);
    result.err = readFile(errPath);
    return result;
}

CommandResult runHost(const std::string& arguments) {
    return runCommand(shellQuote(hostBinary()) + " " + arguments);
}

CommandResult runHostScript(const std::string& script, bool keepGoing) {
    return runHost(std::string(keepGoing ? "--keep-going " : "") + "-c " + shellQuote(script));
}

std::string shellQuote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        if (c == '\'') {
            quoted += "'\\''";
        } else {
            quoted += c;
        }
    }
    return quoted + "'";
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream contents;
    contents << in.rdbuf();
    return contents.str();
}

std::vector<unsigned char> readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in),
                                      std::istreambuf_iterator<char>());
}

void writeFile(const std::string& path, const std::string& contents) {
    std::ofstream out(path, std::ios::binary);
    out << contents;
}

bool fileExists(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

std::string hostBinary() {
    return environmentOr("CINESHEET_HOST", CINESHEET_HOST_BINARY);
}

std::string pluginPath() {
    return environmentOr("CINESHEET_PLUGIN", CINESHEET_PLUGIN_LIBRARY);
}

std::string testPluginDir() {
    return environmentOr("CINESHEET_TEST_PLUGIN_DIR", CINESHEET_TEST_PLUGIN_DIR);
}

}  // namespace testsupport

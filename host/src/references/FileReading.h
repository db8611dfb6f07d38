#pragma once

namespace host {

// While one lives, a file is being read: a scene opened or a referenced file loaded
// (MFileIO::isReadingFile). Reads nest: a reference is loaded inside the open of the scene that
// refers to it, and the scene is still being read until the outermost read ends.
class FileReadScope {
public:
    explicit FileReadScope(bool reference);
    ~FileReadScope();
    FileReadScope(const FileReadScope&) = delete;
    FileReadScope& operator=(const FileReadScope&) = delete;

private:
    bool reference_;
};

bool readingFile();
bool readingReference();

}  // namespace host

#pragma once

#include <sys/types.h>

#include <string>

namespace video {

// The temporary file a new file is written to before it takes its final name: made new beside
// the file it is to become (never an existing file or a link someone put there), written and
// read through the descriptor it was made with, and renamed into place only while its name
// still leads to that same file. Removed unless it was renamed.
class PartFile {
public:
    // Made in the folder of `nearPath`, named after it, with the permissions the user's umask
    // gives any new file; descriptor() is -1 when none could be made.
    explicit PartFile(const std::string& nearPath);
    ~PartFile();
    PartFile(const PartFile&) = delete;
    PartFile& operator=(const PartFile&) = delete;

    int descriptor() const { return fd_; }
    // Renames the file to `finalPath`, replacing what is there. False when the file was never
    // made, its name now leads elsewhere, or the rename fails.
    bool moveIntoPlace(const std::string& finalPath);

private:
    // Whether the name leads to the file made, not to a link or another file.
    bool leadsToFile(const std::string& name) const;

    std::string path_;
    int fd_ = -1;
    dev_t device_ = 0;
    ino_t inode_ = 0;
};

}  // namespace video

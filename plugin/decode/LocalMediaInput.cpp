#include "decode/LocalMediaInput.h"

#include "decode/LocalFile.h"

extern "C" {
#include <libavutil/avstring.h>
}

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace video {
namespace {

// Demuxers of single, self-contained files. Anything else (hls, dash, concat, image2, imf, ...)
// may open further inputs named inside the file and is refused.
constexpr const char* kSelfContainedFormats =
    "mov,matroska,avi,mpeg,mpegts,mpegvideo,m4v,h264,hevc,h263,flv,asf,mxf,ogg,ivf,nut,dv,gif,"
    "yuv4mpegpipe,mjpeg,rm,obu";
constexpr int kReadBufferBytes = 64 * 1024;

// The file read, and the flag that abandons reading it (null when nothing does).
struct FileReading {
    FileDescriptor file;
    const std::atomic<bool>* abandon = nullptr;
};

int readFile(void* opaque, uint8_t* buffer, int size) {
    const FileReading& reading = *static_cast<FileReading*>(opaque);
    if (reading.abandon && reading.abandon->load()) {
        return AVERROR_EXIT;
    }
    const int fd = reading.file.get();
    ssize_t got = 0;
    do {
        got = ::read(fd, buffer, static_cast<size_t>(size));
    } while (got < 0 && errno == EINTR);
    if (got == 0) {
        return AVERROR_EOF;
    }
    return got < 0 ? AVERROR(errno) : static_cast<int>(got);
}

int64_t seekFile(void* opaque, int64_t offset, int whence) {
    const int fd = static_cast<FileReading*>(opaque)->file.get();
    if (whence & AVSEEK_SIZE) {
        struct stat status {};
        return fstat(fd, &status) == 0 ? static_cast<int64_t>(status.st_size) : AVERROR(errno);
    }
    const off_t position = ::lseek(fd, offset, whence & ~AVSEEK_FORCE);
    return position < 0 ? AVERROR(errno) : static_cast<int64_t>(position);
}

// The reading end of a checked file: its descriptor and FFmpeg's buffered reader over it.
void freeFileReader(AVIOContext* reader) {
    if (reader) {
        delete static_cast<FileReading*>(reader->opaque);
        av_freep(&reader->buffer);
        avio_context_free(&reader);
    }
}

struct FileReaderFreer {
    void operator()(AVIOContext* reader) const { freeFileReader(reader); }
};
using FileReaderPtr = std::unique_ptr<AVIOContext, FileReaderFreer>;

FileReaderPtr makeFileReader(FileDescriptor file, const std::atomic<bool>* abandon) {
    auto* buffer = static_cast<unsigned char*>(av_malloc(kReadBufferBytes));
    if (!buffer) {
        return nullptr;
    }
    auto owned = std::make_unique<FileReading>(FileReading{std::move(file), abandon});
    AVIOContext* reader =
        avio_alloc_context(buffer, kReadBufferBytes, 0, owned.get(), readFile, nullptr, seekFile);
    if (!reader) {
        av_free(buffer);
        return nullptr;
    }
    owned.release();
    return FileReaderPtr(reader);
}

}  // namespace

void LocalMediaCloser::operator()(AVFormatContext* context) const {
    AVIOContext* reader = context->pb;
    avformat_close_input(&context);
    freeFileReader(reader);
}

LocalMediaPtr openLocalMedia(const std::string& path, const std::atomic<bool>* abandon) {
    AVDictionary* options = nullptr;
    LocalMediaPtr media = openLocalFile(path, kSelfContainedFormats, &options, abandon);
    av_dict_free(&options);
    return media;
}

LocalMediaPtr openLocalFile(const std::string& path, const std::string& formats,
                            AVDictionary** options, const std::atomic<bool>* abandon) {
    return openLocalFile(openLocalRegularFile(path), path, formats, options, abandon);
}

LocalMediaPtr openLocalFile(FileDescriptor file, const std::string& path,
                            const std::string& formats, AVDictionary** options,
                            const std::atomic<bool>* abandon) {
    if (!file.isOpen()) {
        return nullptr;
    }
    FileReaderPtr reader = makeFileReader(std::move(file), abandon);
    AVFormatContext* raw = avformat_alloc_context();
    if (!reader || !raw) {
        avformat_free_context(raw);
        return nullptr;
    }
    raw->pb = reader.get();
    raw->flags |= AVFMT_FLAG_CUSTOM_IO;
    // Nothing but the checked file is read; the path only lends its extension to format probing.
    av_dict_set(options, "protocol_whitelist", "none", 0);
    av_dict_set(options, "format_whitelist", formats.c_str(), 0);
    if (avformat_open_input(&raw, path.c_str(), nullptr, options) < 0) {
        // The failed open has freed the demuxer but not the reader, which is still ours.
        return nullptr;
    }
    reader.release();
    return LocalMediaPtr(raw);
}

bool isSelfContainedFormat(const char* format) {
    return av_match_list(format, kSelfContainedFormats, ',') > 0;
}

void stopAbandoning(AVFormatContext* media) {
    static_cast<FileReading*>(media->pb->opaque)->abandon = nullptr;
}

}  // namespace video

#include "draw/FileProbe.h"

#include "cache/LocalFile.h"

bool isReadableRegularFile(const MString& path) {
    return video::openLocalRegularFile(path.asChar()).isOpen();
}

#include "draw/FileProbe.h"

#include "decode/LocalFile.h"

bool isReadableRegularFile(const MString& path) {
    return video::openLocalRegularFile(path.asChar()).isOpen();
}

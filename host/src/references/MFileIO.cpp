#include <maya/MFileIO.h>

#include "references/FileReading.h"

bool MFileIO::isReadingFile() {
    return host::readingFile();
}

bool MFileIO::isReferencingFile() {
    return host::readingReference();
}

#include "references/FileReading.h"

namespace host {
namespace {

struct Depths {
    int reads = 0;
    int references = 0;
};

Depths& depths() {
    static Depths counted;
    return counted;
}

}  // namespace

FileReadScope::FileReadScope(bool reference) : reference_(reference) {
    ++depths().reads;
    depths().references += reference_ ? 1 : 0;
}

FileReadScope::~FileReadScope() {
    --depths().reads;
    depths().references -= reference_ ? 1 : 0;
}

bool readingFile() {
    return depths().reads > 0;
}

bool readingReference() {
    return depths().references > 0;
}

}  // namespace host

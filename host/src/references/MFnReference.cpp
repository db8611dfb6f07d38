#include <maya/MFnReference.h>

#include <atomic>

namespace {

std::atomic<bool> ignoringEdits{false};

}  // namespace

bool MFnReference::ignoreReferenceEdits() {
    return ignoringEdits.load();
}

void MFnReference::setIgnoreReferenceEdits(bool ignoreEdits) {
    ignoringEdits.store(ignoreEdits);
}

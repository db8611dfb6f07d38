// Maya's classes live in a versioned namespace: declaring one at global scope clashes with the
// using-declaration that brings it there.
class MObject;

#include <maya/MObject.h>

bool isNull(const MObject& object) {
    return object.isNull();
}

#pragma once

#include <maya/MStatus.h>

#include <string>

// Loading referenced files: file -reference, and the references of a scene being opened.
namespace host {

// Makes the reference node "<namespace>RN" and loads the file onto it, between
// kBeforeCreateReference and kAfterCreateReference. An empty namespace is the file's name without
// folder and extension; a namespace in use gets the first free number.
MStatus createReference(const std::string& path, const std::string& nameSpace);

// A reference of a scene being read ("file -r -dr 1 -rfn <node> ..." of a saved scene): loaded
// by loadDeferredReferences once the scene's own commands have run, which have by then made its
// reference node and given it its edits.
void deferReference(const std::string& path, const std::string& nameSpace,
                    const std::string& referenceNodeName);
// Loads them in the order they were deferred, each between kBeforeLoadReference and
// kAfterLoadReference, and forgets them.
MStatus loadDeferredReferences();
void forgetDeferredReferences();

}  // namespace host

#pragma once

#include <maya/MString.h>

#include <string>

namespace host::dg {

// Marks the calling thread as computing a node of `typeName` for its lifetime.
class ComputeScope {
public:
    explicit ComputeScope(const MString& typeName);
    ~ComputeScope();
    ComputeScope(const ComputeScope&) = delete;
    ComputeScope& operator=(const ComputeScope&) = delete;

private:
    const std::string typeName_;
    const std::string* outer_;
};

// Called by every MGlobal::executeCommand: counted and warned about when a node is computing.
void noteCommand(const MString& command);

}  // namespace host::dg

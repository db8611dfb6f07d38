#pragma once

#include <cstddef>

// compute must rely only on its own inputs (Maya SDK, "Implementing the compute() method"): with
// the Evaluation Manager in parallel mode it runs on worker threads, and nothing computes it
// again when what a command read changes. The host reports every MGlobal::executeCommand made
// while a node computes: "// Warning: <command> run from the compute of <node> //" the first time
// per node type, and counts every one (hostConfig -q -commandsInCompute).
namespace host {

std::size_t commandsInCompute();
void resetCommandsInCompute();

}  // namespace host

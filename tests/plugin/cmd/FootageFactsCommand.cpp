#include "cmd/CineSheetFootageFactsCommand.h"

#include <host/Commands.h>

// Suites that draw nodes without loading the plug-in have the command the draw override queues
// on the idle queue, as the loaded plug-in has it. Not for suites that load the plug-in itself,
// which registers it.
namespace {

const host::BuiltinCommandRegistrar footageFacts("cineSheetFootageFacts",
                                                 CineSheetFootageFactsCommand::creator,
                                                 CineSheetFootageFactsCommand::newSyntax);

}  // namespace

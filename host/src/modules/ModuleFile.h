#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace host::modules {

// Autodesk's description of module files documents no limit on their size
// (https://help.autodesk.com/view/MAYADEV/2025/ENU/?guid=Maya_DEVHELP_Distributing_Maya_Plug_ins_DistributingUsingModules_ModuleDescriptionFiles_html);
// the ones Autodesk and plug-in vendors ship are a few kilobytes. A file far larger is no module
// description (a log, a disk image named .mod), and the stand-in does not hold it in memory: it is
// skipped whole, with a warning, as a file cut short could leave a module half described.
constexpr std::size_t kMaxModuleFileBytes = std::size_t{1} << 20;

// The text of the module file, or none when it cannot be read or is larger than the limit, with
// the reason in `why`. Reads no more than the limit and a little over.
std::optional<std::string> readModuleFile(const std::filesystem::path& file, std::string& why);

}  // namespace host::modules

#include "viewport/DrawOverrideTable.h"

#include <host/Messages.h>
#include <host/Plugins.h>

#include <algorithm>
#include <sstream>

namespace host {
namespace {

// The "drawdb/..." parts of the node type's classification ("a:b" lists two).
std::vector<std::string> drawClassifications(const MObject& node) {
    std::vector<std::string> parts;
    std::istringstream text(drawClassification(node).asChar());
    std::string part;
    while (std::getline(text, part, ':')) {
        if (part.rfind("drawdb/", 0) == 0) {
            parts.push_back(part);
        }
    }
    return parts;
}

bool sameNode(const OverrideEntry& entry, const MObject& node) {
    return entry.node == node;
}

}  // namespace

PathDraw& OverrideEntry::pathDraw(const MDagPath& path) {
    if (PathDraw* found = findPath(path)) {
        return *found;
    }
    paths.push_back(std::make_unique<PathDraw>());
    paths.back()->path = path;
    return *paths.back();
}

PathDraw* OverrideEntry::findPath(const MDagPath& path) {
    for (const auto& each : paths) {
        if (each->path == path) {
            return each.get();
        }
    }
    return nullptr;
}

// Never destroyed: plug-ins are unloaded (and their overrides destroyed) before exit.
DrawOverrideTable& DrawOverrideTable::instance() {
    static DrawOverrideTable* table = new DrawOverrideTable;
    return *table;
}

DrawOverrideTable::DrawOverrideTable() {
    addSceneObserver(this);
    addPluginCleanup(&DrawOverrideTable::forgetPlugin);
}

MStatus DrawOverrideTable::registerCreator(const std::string& classification,
                                           const std::string& registrant,
                                           MHWRender::MDrawRegistry::DrawOverrideCreator creator) {
    if (creator == nullptr || classification.empty()) {
        return MStatus::kInvalidParameter;
    }
    const bool taken = std::any_of(creators_.begin(), creators_.end(), [&](const Creator& each) {
        return each.classification == classification;
    });
    if (taken) {
        return MStatus::kFailure;
    }
    creators_.push_back(Creator{classification, registrant, activePlugin(), creator});
    return MStatus::kSuccess;
}

MStatus DrawOverrideTable::deregisterCreator(const std::string& classification,
                                             const std::string& registrant) {
    const auto creator = std::find_if(creators_.begin(), creators_.end(), [&](const Creator& each) {
        return each.classification == classification && each.registrant == registrant;
    });
    if (creator == creators_.end()) {
        return MStatus::kFailure;
    }
    destroyClassification(classification);
    // Draw override destructors run plug-in code, which may have changed the creators.
    creators_.erase(
        std::remove_if(creators_.begin(), creators_.end(),
                       [&](const Creator& each) { return each.classification == classification; }),
        creators_.end());
    return MStatus::kSuccess;
}

std::string DrawOverrideTable::classificationFor(const MObject& node) const {
    const Creator* creator = creatorFor(node);
    return creator != nullptr ? creator->classification : std::string();
}

OverrideEntry* DrawOverrideTable::findOrCreate(const MObject& node) {
    if (OverrideEntry* found = find(node)) {
        return found;
    }
    const Creator* creator = creatorFor(node);
    if (creator == nullptr) {
        return nullptr;
    }
    const std::string classification = creator->classification;
    std::unique_ptr<MHWRender::MPxDrawOverride> made(creator->function(node));
    if (!made) {
        return nullptr;
    }
    auto entry = std::make_unique<OverrideEntry>();
    entry->node = node;
    entry->classification = classification;
    entry->drawOverride = std::move(made);
    entries_.push_back(std::move(entry));
    return entries_.back().get();
}

void DrawOverrideTable::nodeRemoved(const MObject& node) {
    const auto found = std::find_if(entries_.begin(), entries_.end(),
                                    [&](const auto& entry) { return sameNode(*entry, node); });
    if (found == entries_.end()) {
        return;
    }
    // Out of the table first, so that draw code run by the destructors finds a consistent one.
    std::unique_ptr<OverrideEntry> going = std::move(*found);
    entries_.erase(found);
}

void DrawOverrideTable::instancesChanged(const MObject& node) {
    OverrideEntry* entry = find(node);
    if (entry == nullptr) {
        return;
    }
    std::vector<std::unique_ptr<PathDraw>> going;
    for (auto& each : entry->paths) {
        if (!each->path.isValid()) {
            going.push_back(std::move(each));
        }
    }
    entry->paths.erase(std::remove(entry->paths.begin(), entry->paths.end(), nullptr),
                       entry->paths.end());
}

OverrideEntry* DrawOverrideTable::find(const MObject& node) {
    for (const auto& entry : entries_) {
        if (sameNode(*entry, node)) {
            return entry.get();
        }
    }
    return nullptr;
}

OverrideEntry* DrawOverrideTable::at(std::size_t index) {
    return index < entries_.size() ? entries_[index].get() : nullptr;
}

const DrawOverrideTable::Creator* DrawOverrideTable::creatorFor(const MObject& node) const {
    for (const std::string& classification : drawClassifications(node)) {
        for (const Creator& creator : creators_) {
            if (creator.classification == classification) {
                return &creator;
            }
        }
    }
    return nullptr;
}

void DrawOverrideTable::destroyClassification(const std::string& classification) {
    std::vector<std::unique_ptr<OverrideEntry>> going;
    for (auto& entry : entries_) {
        if (entry->classification == classification) {
            going.push_back(std::move(entry));
        }
    }
    entries_.erase(std::remove(entries_.begin(), entries_.end(), nullptr), entries_.end());
    going.clear();
}

// Runs before the plug-in's library is closed, so the overrides made by creators it left
// registered can still be destroyed properly; then the creators, which point into that
// library, go.
void DrawOverrideTable::forgetPlugin(const std::string& pluginName) {
    DrawOverrideTable& table = instance();
    std::vector<std::string> leftBehind;
    for (const Creator& creator : table.creators_) {
        if (creator.plugin == pluginName) {
            leftBehind.push_back(creator.classification);
        }
    }
    for (const std::string& classification : leftBehind) {
        showMessage(MessageKind::kWarning, "Plug-in \"" + pluginName +
                                               "\" left its draw override creator for " +
                                               classification + " registered");
        table.destroyClassification(classification);
    }
    table.creators_.erase(
        std::remove_if(table.creators_.begin(), table.creators_.end(),
                       [&](const Creator& creator) { return creator.plugin == pluginName; }),
        table.creators_.end());
}

}  // namespace host

#pragma once

#include <host/DrawRecording.h>
#include <host/Scene.h>

#include <maya/MDrawRegistry.h>
#include <maya/MPxDrawOverride.h>
#include <maya/MUserData.h>

#include <memory>
#include <string>
#include <vector>

namespace host {

// A node's draw override with what the host keeps for it between refreshes.
struct OverrideEntry {
    MObject node;
    std::string classification;
    std::unique_ptr<MHWRender::MPxDrawOverride> drawOverride;
    std::unique_ptr<MUserData> keptData;  // declared last: deleted before the override
    std::vector<DrawCall> latestCalls;
};

// The registered draw override creators and one draw override per node whose type's draw
// classification has a creator. Follows the scene as an observer.
class DrawOverrideTable : public SceneObserver {
public:
    static DrawOverrideTable& instance();

    MStatus registerCreator(const std::string& classification, const std::string& registrant,
                            MHWRender::MDrawRegistry::DrawOverrideCreator creator);
    MStatus deregisterCreator(const std::string& classification, const std::string& registrant);

    void nodeAdded(const MObject& node) override;
    void nodeRemoved(const MObject& node) override;

    // Null when the node has no draw override.
    OverrideEntry* find(const MObject& node);
    std::size_t size() const { return entries_.size(); }
    // Entries may come and go while draw code runs, so callers walk by index.
    OverrideEntry* at(std::size_t index);

private:
    struct Creator {
        std::string classification;
        std::string registrant;
        std::string plugin;
        MHWRender::MDrawRegistry::DrawOverrideCreator function;
    };

    DrawOverrideTable();
    // Destroys the overrides of the creators a plug-in left registered, then drops them.
    static void forgetPlugin(const std::string& pluginName);
    const Creator* creatorFor(const MObject& node) const;
    void destroyClassification(const std::string& classification);

    std::vector<Creator> creators_;
    std::vector<std::unique_ptr<OverrideEntry>> entries_;
};

}  // namespace host

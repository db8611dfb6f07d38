#pragma once

#include <host/DrawRecording.h>
#include <host/Scene.h>

#include <maya/MDagPath.h>
#include <maya/MDrawRegistry.h>
#include <maya/MPxDrawOverride.h>
#include <maya/MUserData.h>

#include <memory>
#include <string>
#include <vector>

namespace host {

// One DAG path (instance) of a node drawn by its override, with the data the host keeps for
// that path between refreshes.
struct PathDraw {
    MDagPath path;
    std::unique_ptr<MUserData> keptData;
    std::vector<DrawCall> latestCalls;
};

// A node's draw override with what the host keeps for each of its paths.
struct OverrideEntry {
    MObject node;
    std::string classification;
    std::unique_ptr<MHWRender::MPxDrawOverride> drawOverride;
    // Declared last: the paths' data is deleted before the override.
    std::vector<std::unique_ptr<PathDraw>> paths;

    // The record of the path, made empty when the path has none yet.
    PathDraw& pathDraw(const MDagPath& path);
    // Null when the path has no record.
    PathDraw* findPath(const MDagPath& path);
};

// The registered draw override creators and the draw overrides made so far. As in Viewport
// 2.0, an override is made the first time a refresh draws its node, and destroyed with the
// node or when its creator goes. Follows the scene as an observer.
class DrawOverrideTable : public SceneObserver {
public:
    static DrawOverrideTable& instance();

    MStatus registerCreator(const std::string& classification, const std::string& registrant,
                            MHWRender::MDrawRegistry::DrawOverrideCreator creator);
    MStatus deregisterCreator(const std::string& classification, const std::string& registrant);

    void nodeAdded(const MObject&) override {}
    void nodeRemoved(const MObject& node) override;
    // The data of a path that no longer leads to the node is deleted, as the instance is.
    void instancesChanged(const MObject& node) override;

    // The classification whose creator would make the node's override ("" for none).
    std::string classificationFor(const MObject& node) const;
    // The node's override, made now when it has none yet; null when no creator makes one.
    OverrideEntry* findOrCreate(const MObject& node);
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

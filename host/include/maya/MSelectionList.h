#pragma once

#include <maya/MApiNamespace.h>
#include <maya/MDagPath.h>
#include <maya/MObject.h>
#include <maya/MPlug.h>
#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MStringArray.h>

#include <vector>

OPENMAYA_MAJOR_NAMESPACE_OPEN

// An ordered list of nodes, DAG paths (instances) and plugs without duplicates.
class MSelectionList {
public:
    enum MergeStrategy { kMergeNormal = 0, kXORWithList, kRemoveFromList };

    MSelectionList();
    MSelectionList(const MSelectionList& other);
    ~MSelectionList();

    MSelectionList& operator=(const MSelectionList& other);

    MStatus clear();
    bool isEmpty(MStatus* ReturnStatus = nullptr) const;
    unsigned int length(MStatus* ReturnStatus = nullptr) const;

    // Node names, "node.attribute" plug names, DAG paths ("|persp|perspShape") and "*"
    // wildcards. Nothing matching gives kInvalidParameter.
    MStatus add(const MString& matchString, bool searchChildNamespacesToo = false);
    MStatus add(const MObject& object, bool mergeWithExisting = false);
    MStatus add(const MDagPath& object, const MObject& component = MObject::kNullObj,
                bool mergeWithExisting = false);
    MStatus add(const MPlug& plug, bool mergeWithExisting = false);
    MStatus remove(unsigned int index);
    bool hasItem(const MObject& item, MStatus* ReturnStatus = nullptr) const;

    // A plug item gives its node.
    MStatus getDependNode(unsigned int index, MObject& depNode) const;
    MStatus getDagPath(unsigned int index, MDagPath& dagPath) const;
    MStatus getDagPath(unsigned int index, MDagPath& dagPath, MObject& component) const;
    // Fails for an item that is a whole node.
    MStatus getPlug(unsigned int index, MPlug& plug) const;
    MStatus getSelectionStrings(MStringArray& array) const;
    MStatus getSelectionStrings(unsigned int index, MStringArray& array) const;

private:
    struct Item {
        MObject node;
        MPlug plug;
        // The instance of a DAG node added by path; empty for its first.
        MDagPath path;
    };
    MStatus addItem(const Item& item);
    std::vector<Item> items_;
};

OPENMAYA_NAMESPACE_CLOSE

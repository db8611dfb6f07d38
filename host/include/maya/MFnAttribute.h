#pragma once

#include <maya/MApiNamespace.h>
#include <maya/MFnBase.h>
#include <maya/MFnData.h>
#include <maya/MObject.h>
#include <maya/MStatus.h>
#include <maya/MString.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

// Function set for attributes: names and the flags every kind of attribute has.
// New attributes are readable, writable, connectable, storable and cached; not keyable, hidden
// or arrays; disconnecting them leaves their value (kNothing).
class MFnAttribute : public MFnBase {
public:
    enum DisconnectBehavior { kDelete, kReset, kNothing };

    MFnAttribute();
    MFnAttribute(const MObject& object, MStatus* ReturnStatus = nullptr);
    ~MFnAttribute() override;

    MFn::Type type() const override;

    MString name(MStatus* ReturnStatus = nullptr) const;
    MString shortName(MStatus* ReturnStatus = nullptr) const;
    MObject parent(MStatus* ReturnStatus = nullptr) const;
    bool accepts(MFnData::Type type, MStatus* ReturnStatus = nullptr) const;

    bool isReadable(MStatus* ReturnStatus = nullptr) const;
    bool isWritable(MStatus* ReturnStatus = nullptr) const;
    bool isConnectable(MStatus* ReturnStatus = nullptr) const;
    bool isStorable(MStatus* ReturnStatus = nullptr) const;
    bool isCached(MStatus* ReturnStatus = nullptr) const;
    bool isArray(MStatus* ReturnStatus = nullptr) const;
    bool indexMatters(MStatus* ReturnStatus = nullptr) const;
    bool isKeyable(MStatus* ReturnStatus = nullptr) const;
    bool isChannelBoxFlagSet(MStatus* ReturnStatus = nullptr) const;
    bool isHidden(MStatus* ReturnStatus = nullptr) const;
    bool isUsedAsColor(MStatus* ReturnStatus = nullptr) const;
    bool isUsedAsFilename(MStatus* ReturnStatus = nullptr) const;
    bool isWorldSpace(MStatus* ReturnStatus = nullptr) const;
    bool isAffectsWorldSpace(MStatus* ReturnStatus = nullptr) const;
    bool affectsAppearance(MStatus* ReturnStatus = nullptr) const;
    DisconnectBehavior disconnectBehavior(MStatus* ReturnStatus = nullptr) const;

    MStatus setReadable(bool state);
    MStatus setWritable(bool state);
    MStatus setConnectable(bool state);
    MStatus setStorable(bool state);
    MStatus setCached(bool state);
    MStatus setArray(bool state);
    MStatus setIndexMatters(bool state);
    MStatus setKeyable(bool state);
    MStatus setChannelBox(bool state);
    MStatus setHidden(bool state);
    MStatus setUsedAsColor(bool state);
    MStatus setUsedAsFilename(bool state);
    MStatus setWorldSpace(bool state);
    MStatus setAffectsWorldSpace(bool state);
    MStatus setAffectsAppearance(bool state);
    MStatus setDisconnectBehavior(DisconnectBehavior behavior);
};

OPENMAYA_NAMESPACE_CLOSE

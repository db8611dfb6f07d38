#include <maya/MTypeId.h>

MTypeId::MTypeId() = default;
MTypeId::MTypeId(unsigned int id) : id_(id) {}
MTypeId::MTypeId(unsigned int prefix, unsigned int id) : id_((prefix << 8) | (id & 0xFFu)) {}
MTypeId::MTypeId(const MTypeId& src) = default;
MTypeId::~MTypeId() = default;

MTypeId& MTypeId::operator=(const MTypeId& src) = default;
bool MTypeId::operator==(const MTypeId& other) const {
    return id_ == other.id_;
}
bool MTypeId::operator!=(const MTypeId& other) const {
    return id_ != other.id_;
}

unsigned int MTypeId::id(MStatus* ReturnStatus) const {
    if (ReturnStatus != nullptr) {
        *ReturnStatus = MStatus::kSuccess;
    }
    return id_;
}

#pragma once

// Base class of the data a draw override hands from preparation to drawing. The host keeps
// the object and passes it back to the next preparation; only data marked with the deprecated
// deleteAfterUse is deleted once drawn.
class MUserData {
public:
    MUserData();
    [[deprecated]] MUserData(bool deleteAfterUse);
    virtual ~MUserData();

    [[deprecated]] bool deleteAfterUse();
    [[deprecated]] void setDeleteAfterUse(bool deleteAfterUse);

private:
    bool deleteAfterUse_;
};

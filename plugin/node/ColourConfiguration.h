#pragma once

#include <maya/MObject.h>
#include <maya/MString.h>
#include <maya/MStringArray.h>

// The input spaces of the colour-management configuration in force, as the plug-in last heard
// them, and the "colorSpace" fields that follow them. Maya saves the OCIO configuration with the
// scene and applies it on open, so the list can change under a loaded plug-in: it is asked again
// on Maya's configuration-change event. Maya has no call that takes a field off an enumeration,
// so a field, once given, keeps its name and number for the session; each space of a new
// configuration gets a field of its own. Main thread only: it runs MEL and changes the attribute.
class ColourConfiguration {
public:
    // The field values besides the spaces.
    static constexpr short kFileRulesField = -1;  // the space the file rules give the file
    static constexpr short kNoSpaceField = 0;     // shown as stored

    static ColourConfiguration& instance();

    // Asks for the input spaces again and gives every new one a field of `colorSpace`, an
    // enumeration attribute. A failed query leaves no names, asked for again by `knows`.
    void refresh(const MObject& colorSpace);
    // Whether the configuration in force has an input space of the name.
    bool knows(const MString& name);
    // Whether colour management gave any input space (false while its query fails).
    bool listsSpaces() const { return names_.length() > 0; }
    // The field of the name, given one when it has none and `add` is true; false when none.
    bool fieldOf(const MString& name, bool add, short& field);
    // Counts the configurations heard of, so that what was worked out under one is not kept.
    unsigned generation() const { return generation_; }

private:
    MStringArray names_;
    unsigned generation_ = 0;
};

// The input space the colour management file rules give the file (colorManagementFileRules
// -evaluate); empty when colour management cannot say.
MString fileRulesSpace(const MString& file);

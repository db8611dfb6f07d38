#include "scene/AudioNode.h"

#include <host/Interface.h>

#include <maya/MFnData.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MFnTypedAttribute.h>
#include <maya/MFnUnitAttribute.h>
#include <maya/MTime.h>

#include <cstdint>
#include <cstring>
#include <fstream>

namespace host {

MObject AudioNode::aFilename;
MObject AudioNode::aOffset;
MObject AudioNode::aSourceStart;
MObject AudioNode::aSourceEnd;
MObject AudioNode::aEndFrame;
MObject AudioNode::aSilence;
MObject AudioNode::aMute;
MObject AudioNode::aOrder;
MObject AudioNode::aTrackState;
MObject AudioNode::aChannels;
MObject AudioNode::aSampleRate;
MObject AudioNode::aFrameCount;
MObject AudioNode::aDuration;

namespace {

uint32_t little32(const unsigned char* bytes) {
    return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
           static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

uint16_t little16(const unsigned char* bytes) {
    return static_cast<uint16_t>(bytes[0] | bytes[1] << 8);
}

MObject timeAttribute(const char* longName, const char* shortName, bool storable) {
    MFnUnitAttribute unitFn;
    MObject attribute = unitFn.create(longName, shortName, MFnUnitAttribute::kTime, 0.0);
    unitFn.setStorable(storable);
    return attribute;
}

MObject output(MFnNumericAttribute& numericFn, const char* longName, const char* shortName) {
    MObject attribute = numericFn.create(longName, shortName, MFnNumericData::kInt, 0);
    numericFn.setWritable(false);
    numericFn.setStorable(false);
    return attribute;
}

}  // namespace

bool readSoundFile(const std::string& path, SoundFileFacts& facts) {
    // A relative file name is taken as relative to the project's root, as MFileObject's kNone
    // resolution reads one [MFileObject.h]. Whether the audio node resolves its file so is not
    // documented; it is the reading that lets a moved project find its sound.
    const std::string resolved = !path.empty() && path[0] != '/' ? workspaceRoot() + path : path;
    std::ifstream file(resolved, std::ios::binary);
    unsigned char riff[12];
    if (!file.read(reinterpret_cast<char*>(riff), 12) || std::memcmp(riff, "RIFF", 4) != 0 ||
        std::memcmp(riff + 8, "WAVE", 4) != 0) {
        return false;
    }
    bool haveFormat = false;
    int blockAlign = 0;
    unsigned char head[8];
    while (file.read(reinterpret_cast<char*>(head), 8)) {
        const uint32_t size = little32(head + 4);
        if (std::memcmp(head, "fmt ", 4) == 0) {
            unsigned char format[16];
            if (size < 16 || !file.read(reinterpret_cast<char*>(format), 16)) {
                return false;
            }
            const int bits = little16(format + 14);
            if (little16(format) != 1 || bits % 8 != 0 || bits == 0) {
                return false;
            }
            facts.channels = little16(format + 2);
            facts.sampleRate = static_cast<int>(little32(format + 4));
            blockAlign = facts.channels * bits / 8;
            haveFormat = facts.channels > 0 && facts.sampleRate > 0;
            file.seekg(size - 16 + size % 2, std::ios::cur);
        } else if (std::memcmp(head, "data", 4) == 0) {
            if (!haveFormat) {
                return false;
            }
            facts.frameCount = static_cast<int>(size / static_cast<uint32_t>(blockAlign));
            return true;
        } else {
            file.seekg(size + size % 2, std::ios::cur);
        }
    }
    return false;
}

void* AudioNode::creator() {
    return new AudioNode();
}

// Maya's attributes of the node, with their names, types and defaults. "track", whose type is
// not known here, is left out.
MStatus AudioNode::initialize() {
    MFnTypedAttribute typedFn;
    aFilename = typedFn.create("filename", "f", MFnData::kString, MObject::kNullObj);
    typedFn.setStorable(true);
    typedFn.setUsedAsFilename(true);
    addAttribute(aFilename);

    aOffset = timeAttribute("offset", "o", true);
    addAttribute(aOffset);
    aEndFrame = timeAttribute("endFrame", "ef", true);
    addAttribute(aEndFrame);
    aSourceStart = timeAttribute("sourceStart", "ss", true);
    addAttribute(aSourceStart);
    aSourceEnd = timeAttribute("sourceEnd", "se", true);
    addAttribute(aSourceEnd);
    aSilence = timeAttribute("silence", "si", true);
    addAttribute(aSilence);

    MFnNumericAttribute numericFn;
    aMute = numericFn.create("mute", "mu", MFnNumericData::kBoolean, 0.0);
    numericFn.setStorable(true);
    addAttribute(aMute);
    aOrder = numericFn.create("order", "r", MFnNumericData::kInt, 1.0);
    numericFn.setHidden(true);
    addAttribute(aOrder);
    aTrackState = numericFn.create("trackState", "ts", MFnNumericData::kShort, 0.0);
    addAttribute(aTrackState);

    aChannels = output(numericFn, "channels", "c");
    addAttribute(aChannels);
    aSampleRate = output(numericFn, "sampleRate", "sr");
    addAttribute(aSampleRate);
    aFrameCount = output(numericFn, "frameCount", "fc");
    addAttribute(aFrameCount);
    MFnUnitAttribute unitFn;
    aDuration = unitFn.create("duration", "du", MFnUnitAttribute::kTime, 0.0);
    unitFn.setWritable(false);
    unitFn.setStorable(false);
    addAttribute(aDuration);

    for (const MObject* out : {&aChannels, &aSampleRate, &aFrameCount, &aDuration}) {
        attributeAffects(aFilename, *out);
    }
    return MStatus::kSuccess;
}

MStatus AudioNode::compute(const MPlug& plug, MDataBlock& data) {
    if (plug != aChannels && plug != aSampleRate && plug != aFrameCount && plug != aDuration) {
        return MStatus::kUnknownParameter;
    }
    SoundFileFacts facts;
    if (!readSoundFile(data.inputValue(aFilename).asString().asChar(), facts)) {
        facts = SoundFileFacts{};
    }
    const double seconds =
        facts.sampleRate > 0 ? static_cast<double>(facts.frameCount) / facts.sampleRate : 0.0;
    data.outputValue(aChannels).set(facts.channels);
    data.outputValue(aSampleRate).set(facts.sampleRate);
    data.outputValue(aFrameCount).set(facts.frameCount);
    data.outputValue(aDuration).set(MTime(seconds, MTime::kSeconds));
    for (const MObject* out : {&aChannels, &aSampleRate, &aFrameCount, &aDuration}) {
        data.outputValue(*out).setClean();
    }
    return MStatus::kSuccess;
}

}  // namespace host

#pragma once

#include <maya/MDataBlock.h>
#include <maya/MObject.h>
#include <maya/MPlug.h>
#include <maya/MPxNode.h>
#include <maya/MStatus.h>

namespace host {

// Maya's "audio" node, made by the sound command: a sound file placed on the timeline. Its
// outputs (sample rate, channels, sample frames, duration) are read from the file's header;
// this host reads 16-bit PCM WAV files only and gives 0 for anything else.
class AudioNode : public MPxNode {
public:
    static void* creator();
    static MStatus initialize();
    MStatus compute(const MPlug& plug, MDataBlock& data) override;

    static MObject aFilename;
    static MObject aOffset;
    static MObject aSourceStart;
    static MObject aSourceEnd;
    static MObject aEndFrame;
    static MObject aSilence;
    static MObject aMute;
    static MObject aOrder;
    static MObject aTrackState;
    static MObject aChannels;
    static MObject aSampleRate;
    static MObject aFrameCount;
    static MObject aDuration;
};

// The header of a WAV file as Maya's audio node reports it.
struct SoundFileFacts {
    int sampleRate = 0;
    int channels = 0;
    int frameCount = 0;
};

// False when the file cannot be read as an integer-PCM WAV file.
bool readSoundFile(const std::string& path, SoundFileFacts& facts);

}  // namespace host

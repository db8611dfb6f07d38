#include "draw/CineSheetDrawOverride.h"

#include "cmd/CineSheetFootageFactsCommand.h"
#include "node/CineSheet.h"
#include "node/ColourConfiguration.h"

#include <maya/MFnDependencyNode.h>
#include <maya/MFnEnumAttribute.h>
#include <maya/MGlobal.h>

#include <string>

MHWRender::MPxDrawOverride* CineSheetDrawOverride::creator(const MObject& obj) {
    return new CineSheetDrawOverride(obj);
}

CineSheetDrawOverride::CineSheetDrawOverride(const MObject& obj)
    : MHWRender::MPxDrawOverride(obj, nullptr, true), mediaFacts_(CineSheet::mediaFactsOf(obj)) {
    // The footage warns while it loads, before the first refresh names the node.
    footage_.warnings().setNodeName(MFnDependencyNode(obj).name().asChar());
}

// The draw data, each with its texture, go before the override; the footage stops its workers
// and frees its frames with it.
CineSheetDrawOverride::~CineSheetDrawOverride() = default;

MHWRender::DrawAPI CineSheetDrawOverride::supportedDrawAPIs() const {
    return MHWRender::kAllDevices;
}

bool CineSheetDrawOverride::hasUIDrawables() const {
    return true;
}

// By name, never through a list asked for apart from the field's: the two could differ.
MString CineSheetDrawOverride::colorSpaceName(const MObject& node, short colorSpace,
                                              const MString& file) {
    ColourConfiguration& configuration = ColourConfiguration::instance();
    MString name;
    if (colorSpace == ColourConfiguration::kFileRulesField) {
        if (file != rulesFile_ || configuration.generation() != rulesGeneration_) {
            rulesSpace_ = file.length() > 0 ? fileRulesSpace(file) : MString();
            rulesFile_ = file;
            rulesGeneration_ = configuration.generation();
        }
        name = rulesSpace_;
    } else if (colorSpace != ColourConfiguration::kNoSpaceField) {
        MStatus status;
        name = MFnEnumAttribute(CineSheet::aColorSpace).fieldName(colorSpace, &status);
        if (status != MStatus::kSuccess) {
            name.clear();
        }
    }
    NodeWarnings& warnings = footage_.warnings();
    if (name.length() == 0 || configuration.knows(name)) {
        warnings.clear(WarningTopic::kColorSpace);
        return name;
    }
    warnings.setNodeName(MFnDependencyNode(node).name().asChar());
    const std::string why =
        configuration.listsSpaces()
            ? std::string("the colour configuration has no input space \"") + name.asChar() + "\""
            : std::string("colour management lists no input spaces");
    warnings.warn(WarningTopic::kColorSpace, why + "; the footage is shown as stored");
    return MString();
}

bool CineSheetDrawOverride::upload(CineSheetData& data, const unsigned char* pixels,
                                   const LoadedMedium& medium, int divisor) {
    if (!data.textureFor(medium, divisor)) {
        textureTrouble_ = TextureTrouble::kRefused;
        return false;
    }
    SheetTexture& texture = data.texture();
    if (!texture.upload(gamma_.apply(pixels, texture.frameBytes(), medium.texelFormat))) {
        textureTrouble_ = TextureTrouble::kUploadFailed;
        return false;
    }
    return true;
}

void CineSheetDrawOverride::showBlank(CineSheetData& data, const LoadedMedium& medium,
                                      int divisor) {
    if (!data.textureFor(medium, divisor)) {
        textureTrouble_ = TextureTrouble::kRefused;
    } else if (!data.texture().clear()) {
        textureTrouble_ = TextureTrouble::kUploadFailed;
    }
}

void CineSheetDrawOverride::showCard(CineSheetData& data, const LoadedMedium& medium) {
    if (!data.showCard(medium)) {
        textureTrouble_ = TextureTrouble::kRefused;
    }
}

void CineSheetDrawOverride::warnAbout(const MObject& node, const MString& file,
                                      const FootageResult& result) {
    NodeWarnings& warnings = footage_.warnings();
    warnings.setNodeName(MFnDependencyNode(node).name().asChar());
    switch (result.answer) {
        case FootageAnswer::kShown:
        case FootageAnswer::kNotShown:
        case FootageAnswer::kBlank:
            warnings.clear(WarningTopic::kFootage);
            break;
        case FootageAnswer::kPlaceholder:
        case FootageAnswer::kUnreadable:
        case FootageAnswer::kMissing:
            // A frame missing from a sequence that has others is not the whole footage's fault.
            if (!result.reason.empty()) {
                warnings.warn(WarningTopic::kFootage, cannotShow(file.asChar(), result.reason));
            }
            break;
        case FootageAnswer::kEndedEarly:
            // Once per file opened: going back to its good frames and past the end again says
            // nothing new.
            warnings.clear(WarningTopic::kFootage);
            warnings.warn(WarningTopic::kEndedEarly, cannotShow(file.asChar(), result.reason));
            break;
        case FootageAnswer::kNotInTime:
            break;
    }
    switch (textureTrouble_) {
        case TextureTrouble::kNone:
            warnings.clear(WarningTopic::kTexture);
            break;
        case TextureTrouble::kRefused:
            warnings.warn(WarningTopic::kTexture,
                          cannotShow(file.asChar(),
                                     "the viewport refused a texture for it (asked "
                                     "for again at each refresh)"));
            break;
        case TextureTrouble::kUploadFailed:
            warnings.warn(WarningTopic::kTexture,
                          cannotShow(file.asChar(),
                                     "the viewport did not take its picture (tried "
                                     "again at each refresh)"));
            break;
    }
}

void CineSheetDrawOverride::reportKeyframeInterval(const MDagPath& objPath, const MString& path) {
    const int interval = footage_.keyframeInterval();
    if (interval == 0 || (path == reportedPath_ && interval == reportedInterval_)) {
        return;
    }
    reportedPath_ = path;
    reportedInterval_ = interval;
    // To the node outside the draw: it takes it as an input, which is no edit of the scene.
    MGlobal::executeCommandOnIdle(footageFactsCommand(objPath.fullPathName(), path, interval),
                                  false);
}

void CineSheetDrawOverride::reportWorkspaceRoot(const MDagPath& objPath, const MString& nodeRoot) {
    const MString& root = workspace_.root();
    if (root.length() == 0 || root == nodeRoot || root == reportedRoot_) {
        return;
    }
    reportedRoot_ = root;
    MGlobal::executeCommandOnIdle(workspaceRootCommand(objPath.fullPathName(), root), false);
}

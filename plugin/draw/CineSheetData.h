#pragma once

#include "draw/SheetTexture.h"
#include "draw/ShownRequest.h"
#include "draw/ShownView.h"

#include <maya/MPointArray.h>
#include <maya/MString.h>
#include <maya/MUserData.h>

#include <optional>

// The draw data of one drawn instance of a node: its own texture, the quad it is drawn on, the
// colour space it is shown in, and what it shows. The host keeps one per instance between
// refreshes; the texture is released with it and by nothing else.
class CineSheetData : public MUserData {
public:
    CineSheetData();
    ~CineSheetData() override;

    // Makes the texture for the medium unless it is made for it already; the quad follows the
    // medium's shape. False when there is no texture.
    bool textureFor(const LoadedMedium& medium, int divisor);
    SheetTexture& texture() { return texture_; }
    const SheetTexture& texture() const { return texture_; }
    // The placeholder card instead of a picture, in the medium's shape, or else in the shape of
    // the last picture this data showed, or else square; the quad follows. False when there is
    // no texture.
    bool showCard(const LoadedMedium& medium);
    // No picture at all: nothing is drawn.
    void dropTexture();
    // The footage the texture holds pictures of: another one gets a texture of its own, so a
    // picture of the former never stands for it.
    void textureShowsFootage(const MString& path);

    const MPointArray& positions() const { return positions_; }
    const MPointArray& texCoords() const { return texCoords_; }

    // How this refresh shows the picture; set by every prepareForDraw.
    ShownView& view() { return view_; }
    const ShownView& view() const { return view_; }

    const MString& colorSpaceName() const { return colorSpaceName_; }
    void setColorSpaceName(const MString& name) { colorSpaceName_ = name; }

    // Whether the texture shows this request at this gamma.
    bool shows(const ShownRequest& request, double gamma) const;
    // Whether it shows the same file and frame, whatever the gamma.
    bool showsFrameOf(const ShownRequest& request) const;
    void markShown(const ShownRequest& request, double gamma);
    void forgetShown() { shown_.reset(); }
    // The node's reload requests this instance's picture has followed.
    unsigned reloadsSeen() const { return reloadsSeen_; }
    void setReloadsSeen(unsigned reloads) { reloadsSeen_ = reloads; }

private:
    SheetTexture texture_;
    MPointArray positions_;
    MPointArray texCoords_;
    MString colorSpaceName_;
    ShownView view_;
    MString footagePath_;
    // The shape of the last picture the texture was made for, which a card takes.
    LoadedMedium lastShape_;
    std::optional<ShownRequest> shown_;
    double shownGamma_ = 0.0;
    unsigned reloadsSeen_ = 0;
};

#pragma once

// The view's picture commands on the drawing: a picture from the clipboard pasted onto the paper,
// and the selected picture trimmed to a frame into a new picture file. Each writes its file under a
// fresh temporary name first and touches the drawing only when that worked.

#include <QImage>

#include <filesystem>
#include <string>

class CKovUnit;
class CPlotInfo;
class SelectionRecord;

namespace kov::tools {

// The page as the view shows it: the page rectangle in pixels, the paper in millimetres and the
// zoom. One picture pixel covers one screen pixel of the page at zoom 1.
struct PastePage {
    double pageWidthPixels = 0;
    double pageHeightPixels = 0;
    double paperWidthMm = 0;
    double paperHeightMm = 0;
    double zoom = 1;
};

struct PictureOutcome {
    bool ok = false;
    int imageId = 0;      // the new picture
    std::string message;  // why not, for the user; empty when nothing needs saying
};

// The picture written as a 24-bit BMP under the first temporary name of `folder` that neither a
// file nor a picture of the drawing holds, then added at the paper's origin on the current layer,
// sized one pixel per page pixel, and made the only selected object. Nothing changes when the
// file cannot be written.
PictureOutcome PasteImage(CKovUnit& unit, SelectionRecord& selection, const CPlotInfo& plot, const QImage& image,
                          const std::filesystem::path& folder, const PastePage& page);

// The part of the picture to keep: left, right, top and bottom edges as fractions of the side of
// the square the picture is centred in (its longer side).
struct TrimFrame {
    double left = 0, right = 1, top = 0, bottom = 1;
};

// The one selected picture cut to the frame: a new file of the picture's own type under a fresh
// temporary name (transparent where the frame reaches past the picture), a new picture in its
// place with the same position, layer, transparency and angle, sized so that its pixels keep their
// size, selected; the old picture leaves the drawing (its file stays for undo). Refused with a
// message when the frame keeps less than one pixel either way or a file cannot be read or written;
// nothing changes then. Not ok with no message unless the selection holds exactly one picture and it exists.
PictureOutcome TrimImage(CKovUnit& unit, SelectionRecord& selection, const std::filesystem::path& folder,
                         const TrimFrame& frame);

} // namespace kov::tools

#pragma once

// The view's picture commands: pasting the clipboard's picture, turning the selected picture by an
// entered angle, trimming it to a frame, and registering new picture files with the document so
// that they go with it. Each takes one undo snapshot before it changes the drawing.

#include "tools/PictureCommands.h"

#include <functional>
#include <optional>

class CKovImage;

namespace kov::app {

class CKoviraDoc;
class CKoviraView;

// Every selected picture's identifier into the document's list of temporary pictures, once.
void AddSelectedImagesToTempList(CKoviraDoc& doc);

// "ｸﾘｯﾌﾟﾎﾞｰﾄﾞの画像を貼り付け(&P)": the clipboard's picture on the paper's origin, selected, in select
// mode. Nothing without a picture on the clipboard; a file that cannot be written is told and
// changes nothing. True when the picture was added.
bool OnPasteClipboardImage(CKoviraView& view, CKoviraDoc& doc);

// The rotation dialog on the picture and its angle (left turns positive); the angle on OK.
using PictureAngleAsker = std::function<std::optional<double>(const CKovImage& picture, double angle)>;
// "選択画像の回転...": the one selected picture to the entered angle. Refused with its message while
// pictures are saved in the old form. True when the angle was set.
bool OnRotateImage(CKoviraView& view, CKoviraDoc& doc, const PictureAngleAsker& ask = {});

// The trimming dialog on the picture; the frame on OK.
using PictureTrimAsker = std::function<std::optional<kov::tools::TrimFrame>(const CKovImage& picture)>;
// "選択画像のﾄﾘﾐﾝｸﾞ(切抜き)...": the one selected picture replaced by its part inside the frame. True
// when it was.
bool OnTrimImage(CKoviraView& view, CKoviraDoc& doc, const PictureTrimAsker& ask = {});

} // namespace kov::app

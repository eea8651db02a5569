#pragma once

// The view's commands that exchange drawings and pictures with other programs: Jw_cad drawings and
// figure files, picture files into the drawing, the drawing out as a picture, and the picture
// written beside every save. The menus and tools call them; the frame refreshes its bars after.

#include "model/DrawTransform.h"

#include <filesystem>

namespace kov::app {

class CKoviraDoc;
class CKoviraView;

namespace exchangetexts {
// Every version of JWW reads (version-7 files included): the titles name no version.
inline constexpr const char* kJwReadTitle = "JW_CADファイル(JWW,JWC)の読み込み";
inline constexpr const char* kJwReadFilter = "JWWファイル(JW_WIN版) (*.jww)|*.jww|JWCファイル(JW_DOS版) (*.jwc)|*.jwc|";
inline constexpr const char* kJwWriteTitle = "JW_CADファイル(JWW(6.0),JWC)）の保存";
inline constexpr const char* kJwWriteFilter = "JWWファイル(JW_WIN版(6.0)) (*.jww)|*.jww|JWCファイル(JW_DOS版 (*.jwc)|*.jwc|";
inline constexpr const char* kJwFigureTitle = "JW_CAD図形ファイル(JWS,JWK)）の読み込み";
inline constexpr const char* kJwFigureFilter =
    "JWSファイル(JW_WIN版図形ファイル) (*.jws)|*.jws|JWKファイル(JW_DOS版図形ファイル） (*.jwk)|*.jwk|";
} // namespace exchangetexts

// "JW_CAD(JWW,JWC)読み込み(&J)...": true when the drawing was replaced (the frame then shows the
// scale and refreshes the layer bar). The reader is chosen by the file's content, then by its
// extension without regard to case.
bool OnImportJwcad(CKoviraView& view, CKoviraDoc& doc);
// "JW_CAD(JWW,JWC)出力(&J)...".
void OnExportJwcad(CKoviraView& view, CKoviraDoc& doc);
// "JWS,JWK取り込み(&K)...": the figures become one selected group placed with the pointer.
void OnImportJwsJwk(CKoviraView& view, CKoviraDoc& doc);

// The picture tool: a picture file into the drawing, selected.
void InsertImageFile(CKoviraView& view, CKoviraDoc& doc);
// "イメージ通りに出力(&G)...": the whole page as a picture file.
void OnExportPicture(CKoviraView& view, CKoviraDoc& doc);
// The range tools on release: the rectangle from the view's press point to (x, y), in window pixels,
// written to a picture file (tool 12) or put on the clipboard (tool 13).
void SaveRangeImage(CKoviraView& view, CKoviraDoc& doc, DevicePoint press, DevicePoint release);
void CopyRangeImageToClipboard(CKoviraView& view, CKoviraDoc& doc, DevicePoint press, DevicePoint release);
// Installs on the document what its exchange needs of the view: the JWW import options dialog and
// the picture written beside every save (setting gazou_zidousave).
void InstallExchangeHooks(CKoviraView& view, CKoviraDoc& doc);

} // namespace kov::app

#include "app/ExchangeCommands.h"

#include "app/KovView.h"
#include "app/KoviraDoc.h"
#include "dialogs/JwwReadSettings.h"
#include "dialogs/PictureDialogs.h"
#include "io/PictureExport.h"
#include "io/PictureInsertion.h"
#include "jwcad/JwcFile.h"
#include "model/PaperSizes.h"
#include "model/PictureFiles.h"
#include "model/SettingsValues.h"
#include "platform/Clipboard.h"
#include "platform/Profile.h"
#include "platform/Questions.h"
#include "tools/ToolMachine.h"

#include <QApplication>
#include <QStandardPaths>

#include <algorithm>

namespace kov::app {

namespace {

namespace fs = std::filesystem;

std::string lowerExtension(const fs::path& p)
{
    std::string e = p.extension().string();
    std::transform(e.begin(), e.end(), e.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return e;
}

JwFileKind kindOf(const fs::path& path)
{
    std::vector<std::uint8_t> head;
    ReadWholeFile(path, head);
    const JwFileKind sniffed = SniffJwFile(head.data(), head.size());
    if (sniffed != JwFileKind::Unknown)
        return sniffed;
    const std::string ext = lowerExtension(path);
    if (ext == ".jwc" || ext == ".jwk")
        return JwFileKind::Jwc;
    return ext == ".jws" ? JwFileKind::Jws : JwFileKind::Jww;
}

// The view's page: its rectangle in page (logical) pixels and whether it is zoomed.
kov::io::PicturePage pageOf(const CKoviraView& view)
{
    return kov::io::PicturePage{view.m_geo.m_rcPage, view.m_geo.m_dZoom != 1.0};
}

std::filesystem::path documentsFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation).toStdString();
}

constexpr kov::platform::COLORREF kWindow = kWindowColour;

void toSelectMode(CKoviraView& view, CKoviraDoc& doc)
{
    doc.m_nToolMode = 0;
    view.m_ToolPoints.clear();
}

} // namespace

bool OnImportJwcad(CKoviraView& view, CKoviraDoc& doc)
{
    auto& q = doc.services().questions;
    const auto path = q.chooseOpenFile(exchangetexts::kJwReadTitle, exchangetexts::kJwReadFilter, {});
    if (!path)
        return false;
    const bool replaced = kindOf(*path) == JwFileKind::Jwc ? doc.ImportJwc(*path) : doc.ImportJww(*path);
    if (replaced)
        view.FitAll();
    view.RedrawAll();
    return replaced;
}

void OnExportJwcad(CKoviraView& view, CKoviraDoc& doc)
{
    auto& q = doc.services().questions;
    auto path = q.chooseSaveFile(exchangetexts::kJwWriteTitle, exchangetexts::kJwWriteFilter, doc.ExportName(".jww"));
    if (!path)
        return;
    if (!path->has_extension())
        *path += ".jww";
    if (lowerExtension(*path) == ".jwc")
        doc.ExportJwc(*path);
    else
        doc.ExportJww(*path);
    view.RedrawAll();
}

void OnImportJwsJwk(CKoviraView& view, CKoviraDoc& doc)
{
    auto& q = doc.services().questions;
    const auto path = q.chooseOpenFile(exchangetexts::kJwFigureTitle, exchangetexts::kJwFigureFilter, {});
    if (!path)
        return;
    view.PushUndo();
    const std::string ext = lowerExtension(*path);
    if (ext == ".jwk") {
        doc.ImportJwk(*path);
    } else {
        view.m_ptLast = CDbPoint(0, 0);
        doc.ImportJws(*path);
    }
    // The figure follows the pointer from the origin until a click puts it down: the tool machine
    // holds that state (the view only mirrors it), so a tool start before the click takes it away.
    kov::tools::ToolMachine& machine = view.machine();
    machine.m_bPlacing = 1;
    machine.m_ptLast = CDbPoint(0, 0);
    view.m_bPlacing = 1;
    doc.PushUndoHeld();
    view.m_ptLast = CDbPoint(0, 0);
    view.RedrawAll();
}

void InsertImageFile(CKoviraView& view, CKoviraDoc& doc)
{
    auto& q = doc.services().questions;
    const auto path = q.chooseOpenFile(kov::io::kPictureOpenTitle, kov::io::kPictureOpenFilter, {});
    if (!path)
        return;
    int paperW = 0, paperH = 0;
    kov::model::GetPaperSizeMm(doc.m_PlotInfo, paperW, paperH);
    // One picture pixel on one screen pixel of the page at zoom 1.
    const kov::io::PageMetrics page{double(view.m_geo.m_rcPage.width()), double(paperW), view.m_geo.m_dZoom};
    const auto ask = [&view](const kov::io::RealSize& preset) -> std::optional<kov::io::RealSize> {
        kov::dialogs::CGazouSizeRealDlg dialog(preset.scale, preset.dpi, &view);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return kov::io::RealSize{dialog.form().scale, dialog.form().dpi};
    };
    // One undo step takes the picture away, as for the imports beside this one.
    view.PushUndo();
    const kov::io::PictureInsertion got = kov::io::InsertImageFile(
        *path, doc.m_Unit, doc.m_PlotInfo, doc.m_Selection, doc.TempImageFolder(), page, doc.services().profile, ask);
    if (!got.ok) {
        q.message(got.message, {}, kov::platform::MessageIcon::Warning);
        return;
    }
    toSelectMode(view, doc);
    doc.AddTempImageNumber(static_cast<std::uint32_t>(got.imageId));
    doc.SetModifiedFlag(true);
    view.RedrawAll();
}

void OnExportPicture(CKoviraView& view, CKoviraDoc& doc)
{
    view.FitAll();
    toSelectMode(view, doc);
    auto& profile = doc.services().profile;
    const int code = profile.GetProfileInt(kov::model::kSectionUtility, "gazououtput_type", 0);
    const auto path = doc.services().questions.chooseSaveFile(
        kov::io::picturetexts::kSaveTitle, kov::io::ExportFilterFor(code), doc.ExportName(".bmp", kov::io::ExportFilterFor(code)));
    if (!path)
        return;
    const DeviceRect r = view.m_geo.m_rcPage;
    CKovUnit::DrawEnvironment env = view.MakeDrawEnvironment();
    const kov::io::PictureScene scene{doc.m_Unit, doc.m_PlotInfo, doc.m_Selection, env};
    const auto out = kov::io::RenderToImage(scene, pageOf(view), r.left, r.top, r.width(), r.height(),
                                            kov::io::WriterTypeOfPath(*path), *path, profile, kWindow);
    if (!out.ok)
        doc.services().questions.message(out.message, {}, kov::platform::MessageIcon::Warning);
    view.RedrawAll();
}

void SaveRangeImage(CKoviraView& view, CKoviraDoc& doc, DevicePoint press, DevicePoint release)
{
    toSelectMode(view, doc);
    auto& q = doc.services().questions;
    if (press.x == release.x || press.y == release.y) {
        q.message(kov::io::picturetexts::kRangeFailed, {}, kov::platform::MessageIcon::Warning);
        return;
    }
    auto& profile = doc.services().profile;
    int code = profile.GetProfileInt(kov::model::kSectionUtility, "gazououtput_type", 0);
    switch (profile.GetProfileInt(kov::model::kSectionPlotMenu, "gazou_out_moku", 0)) {
    case 1: code = 2; break;
    case 2: case 3: code = 0; break;
    default: break;
    }
    const auto path = q.chooseSaveFile(kov::io::picturetexts::kSaveTitle, kov::io::ExportFilterFor(code),
                                       doc.ExportName(".bmp", kov::io::ExportFilterFor(code)));
    if (!path)
        return;
    CKovUnit::DrawEnvironment env = view.MakeDrawEnvironment();
    const kov::io::PictureScene scene{doc.m_Unit, doc.m_PlotInfo, doc.m_Selection, env};
    const auto out = kov::io::RenderToImage(scene, pageOf(view), std::min(press.x, release.x),
                                            std::min(press.y, release.y), std::abs(press.x - release.x),
                                            std::abs(press.y - release.y), kov::io::WriterTypeOfPath(*path), *path,
                                            profile, kWindow);
    if (!out.ok)
        q.message(out.message, {}, kov::platform::MessageIcon::Warning);
    view.RedrawAll();
}

void CopyRangeImageToClipboard(CKoviraView& view, CKoviraDoc& doc, DevicePoint press, DevicePoint release)
{
    toSelectMode(view, doc);
    if (press.x == release.x || press.y == release.y) {
        doc.services().questions.message(kov::io::picturetexts::kRangeFailed, {}, kov::platform::MessageIcon::Warning);
        return;
    }
    CKovUnit::DrawEnvironment env = view.MakeDrawEnvironment();
    const kov::io::PictureScene scene{doc.m_Unit, doc.m_PlotInfo, doc.m_Selection, env};
    const QImage image = kov::io::RenderRangeImage(scene, pageOf(view), press, release, kWindow);
    if (!image.isNull())
        kov::platform::SetClipboardImage(image);
    view.RedrawAll();
}

void InstallExchangeHooks(CKoviraView& view, CKoviraDoc& doc)
{
    doc.SetJwwOptionsChooser([&view]() -> std::optional<JwwImportOptions> {
        kov::dialogs::CJWWReadSetDg dialog(&view);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return dialog.form().Options();
    });
    doc.SetAutoSaveImage([&view, &doc](const std::filesystem::path& path) {
        CKovUnit::DrawEnvironment env = view.MakeDrawEnvironment();
        const kov::io::PictureScene scene{doc.m_Unit, doc.m_PlotInfo, doc.m_Selection, env};
        const auto out = kov::io::AutoSaveImage(scene, pageOf(view), path, doc.services().profile, documentsFolder(),
                                                kWindow);
        if (!out.ok && !out.message.empty())
            doc.services().questions.message(out.message, {}, kov::platform::MessageIcon::Warning);
    });
}

} // namespace kov::app

// The file menu's exchange of whole drawings in our own archive: merging another drawing, the
// sibling and older products' files, a drawing sorted into layers by kind, and the recent files.

#include "app/CommandIds.h"
#include "app/FileListDialogs.h"
#include "app/ForeignDrawings.h"
#include "app/KovView.h"
#include "app/KoviraDoc.h"
#include "app/MainWindow.h"
#include "app/MergeDrawing.h"
#include "model/Layer.h"
#include "platform/Questions.h"

#include <filesystem>
#include <utility>

namespace kov::app {

namespace {

constexpr const char* kMergeTitle = "コビラ図面の合成";
constexpr const char* kMergeFilter = "コビラファイル (*.kvr)|*.kvr|";
constexpr const char* kXe3Filter = "QVTﾌｧｲﾙ(*.qvt) | *.qvt|";
constexpr const char* kXe3ReadTitle = "コビラＸＥ３ファイル読み込み";
constexpr const char* kXe3WriteTitle = "コビラＸＥ３形式で保存";
constexpr const char* kOlderFilter = "Q_Tﾌｧｲﾙ(*.q_t) | *.q_t|";
constexpr const char* kOlderTitle = "ヴェルダ２ファイル読み込み";
constexpr const char* kByKindFilter = "KVRﾌｧｲﾙ(*.kvr) | *.kvr|";
constexpr const char* kByKindTitle = "コビラファイル取り込み";
constexpr const char* kKvrWriteTitle = "コビラ形式で保存";
constexpr const char* kRecentTitle = "最近使用したファイル一覧";
constexpr const char* kFileNotFound = "ファイルがみつかりませんでした。";

} // namespace

void MainWindow::buildFileRoutes()
{
    CKoviraDoc& doc = *m_document;
    CKoviraView& view = *m_view;
    auto V = [this](int c, Handler h) { Route(Target::View, c, std::move(h)); };
    auto& questions = doc.services().questions;

    V(cmd::MergeDrawing, [this, &doc, &view, &questions] {
        const auto path = questions.chooseOpenFile(kMergeTitle, kMergeFilter, {});
        if (!path) return;
        doc.m_Selection.Clear();
        view.PushUndo();
        MergeDocumentFile(doc, *path);
        RefreshLayerBar();
        view.RedrawAll();
    });
    auto openForeign = [this, &doc, &view, &questions](const char* title, const char* filter) {
        const auto path = questions.chooseOpenFile(title, filter, {});
        if (!path) return;
        OpenForeignToLayerZero(doc, *path);
        RefreshLayerBar();
        view.RedrawAll();
    };
    V(cmd::ImportXe3, [openForeign] { openForeign(kXe3ReadTitle, kXe3Filter); });
    V(cmd::ImportVerda2, [openForeign] { openForeign(kOlderTitle, kOlderFilter); });
    auto saveBlock = [&doc, &questions](const char* title, const char* filter, const char* extension) {
        auto path = questions.chooseSaveFile(title, filter, doc.ExportName(extension));
        if (!path) return;
        if (!path->has_extension()) *path += extension;
        SaveBlockToFile(doc, *path);
    };
    V(cmd::ExportXe3, [saveBlock] { saveBlock(kXe3WriteTitle, kXe3Filter, ".qvt"); });
    V(cmd::ExportSibling, [saveBlock] { saveBlock(kKvrWriteTitle, kByKindFilter, ".kvr"); });
    V(cmd::ImportSibling, [this, &doc, &view, &questions] {
        const auto path = questions.chooseOpenFile(kByKindTitle, kByKindFilter, {});
        if (!path) return;
        if (OpenKvrSplitLayers(doc, *path)) {
            // Every layer is shown and snappable; a layer group stays hidden where its layer 0 was.
            CLayer& layers = doc.m_PlotInfo.m_Layer;
            for (int g = 0; g < CLayer::kUsed; ++g) {
                auto& row = layers.m_LayerInfo[static_cast<std::size_t>(g)];
                layers.m_GrpLayerInfo[static_cast<std::size_t>(g)].m_nType = row[0].m_nType;
                for (int l = 0; l < CLayer::kUsed; ++l) row[static_cast<std::size_t>(l)].m_nType = CLayerInfo::LAYER_SNAP;
            }
        }
        RefreshLayerBar();
        view.RedrawAll();
    });
    // The range picture tools start in the tool machine like the drawing tools.
    for (int c : {cmd::SaveRangeImage, cmd::CopyAsPicture})
        V(c, [this, &view, c] {
            ResetToolPalette();
            view.runCommand(c);
            ShowSnapButtons();
            DrawToolSample();
        });
    V(cmd::RecentList, [this, &doc, &questions] {
        CFileListDg dialog(FileListForm::RecentFiles, kRecentTitle, {}, doc.services().profile, questions, this);
        if (dialog.exec() != QDialog::Accepted) return;
        const std::filesystem::path chosen = dialog.chosenPath();
        std::error_code ec;
        if (chosen.empty() || !std::filesystem::is_regular_file(chosen, ec)) return questions.message(kFileNotFound);
        doc.OpenDocumentFile(chosen);
        RefreshLayerBar();
    });
}

} // namespace kov::app

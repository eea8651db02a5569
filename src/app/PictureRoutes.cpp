// The picture commands of the menus and the context menu, and the range print: its tool starts from
// the menu like the drawing tools, and the end of its drag opens the preview of the range.

#include "app/CommandIds.h"
#include "app/ContextMenu.h"
#include "app/KovView.h"
#include "app/KoviraDoc.h"
#include "app/MainWindow.h"
#include "app/PictureEditing.h"
#include "app/RangePrint.h"

#include <QPrinter>

namespace kov::app {

namespace {

// What the view draws with, for the printed range.
PrintViewValues rangePrintValues(CKoviraDoc& doc, const CKoviraView& view, const CDbPoint& first,
                                 const CDbPoint& second)
{
    PrintViewValues v = ViewPrintValues(doc, view);
    v.printRange = true;
    v.rangeFirst = first;
    v.rangeSecond = second;
    return v;
}

} // namespace

void MainWindow::buildPictureRoutes()
{
    if (!m_document || !m_view) return;
    CKoviraDoc& doc = *m_document;
    CKoviraView& view = *m_view;
    auto V = [this](int c, Handler h) { Route(Target::View, c, std::move(h)); };

    V(cmd::PastePicture, [&doc, &view] { OnPasteClipboardImage(view, doc); });
    V(cmd::TurnPicture, [&doc, &view] { OnRotateImage(view, doc); });
    V(cmd::TrimPicture, [&doc, &view] { OnTrimImage(view, doc); });

    V(cmd::PartialPrint, [this, &view] {
        ResetToolPalette();
        view.runCommand(cmd::PartialPrint);
        ShowSnapButtons();
        DrawToolSample();
    });
    view.onPrintRange = [this, &doc, &view](const CDbPoint& first, const CDbPoint& second) {
        OnPrintRangePreview(doc, rangePrintValues(doc, view, first, second), this);
    };
}

} // namespace kov::app

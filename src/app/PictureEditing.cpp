#include "app/PictureEditing.h"

#include "app/KovView.h"
#include "app/KoviraDoc.h"
#include "dialogs/PictureDialogs.h"
#include "model/KovUnit.h"
#include "model/PaperSizes.h"
#include "model/PictureFiles.h"
#include "model/SettingsValues.h"
#include "platform/Clipboard.h"
#include "platform/Profile.h"
#include "platform/Questions.h"
#include "tools/PictureTexts.h"
#include "tools/ToolMachine.h"

#include <QDialog>

#include <algorithm>
#include <utility>

namespace kov::app {

namespace {

namespace text = kov::tools::picturetext;

// The one selected picture, read through const so that looking is no change for undo. Without
// exactly one picture (the context menu offers the commands for several, and a delete may have
// taken it) the user is told why nothing happens.
const CKovImage* selectedPicture(CKoviraDoc& doc)
{
    const CKovImage* picture = doc.m_Selection.m_Images.size() == 1
                                   ? std::as_const(doc.m_Unit).FindImage(doc.m_Selection.m_Images.front())
                                   : nullptr;
    if (!picture)
        doc.services().questions.message(text::kOnePictureFirst);
    return picture;
}

QImage pictureOf(const CKovImage& picture)
{
    QImage image;
    ReadPictureFile(picture.DrawnFileName(), image);
    return image;
}

bool savedInOldForm(CKoviraDoc& doc)
{
    return doc.services().profile.GetProfileInt(kov::model::kSectionUtility, "app_savegazouold", 0) != 0;
}

} // namespace

void AddSelectedImagesToTempList(CKoviraDoc& doc)
{
    for (int id : doc.m_Selection.m_Images)
        if (id > 0)
            doc.AddTempImageNumber(static_cast<std::uint32_t>(id));
}

bool OnPasteClipboardImage(CKoviraView& view, CKoviraDoc& doc)
{
    const std::optional<QImage> image = kov::platform::ClipboardImage();
    if (!image)
        return false;
    int paperW = 0, paperH = 0;
    kov::model::GetPaperSizeMm(doc.m_PlotInfo, paperW, paperH);
    const DeviceRect page = view.m_geo.m_rcPage;
    const kov::tools::PastePage metrics{double(page.width()), double(page.height()), double(paperW), double(paperH),
                                        view.m_geo.m_dZoom};
    // One undo step takes the pasted picture away again.
    view.PushUndo();
    const kov::tools::PictureOutcome got =
        kov::tools::PasteImage(doc.m_Unit, doc.m_Selection, doc.m_PlotInfo, *image, doc.TempImageFolder(), metrics);
    if (!got.ok) {
        if (!got.message.empty())
            doc.services().questions.message(got.message, {}, kov::platform::MessageIcon::Warning);
        return false;
    }
    view.machine().m_ToolPoints.clear();
    doc.m_nToolMode = 0;
    AddSelectedImagesToTempList(doc);
    view.RedrawAll();
    return true;
}

bool OnRotateImage(CKoviraView& view, CKoviraDoc& doc, const PictureAngleAsker& ask)
{
    const CKovImage* picture = selectedPicture(doc);
    if (!picture)
        return false;
    if (savedInOldForm(doc)) {
        doc.services().questions.message(text::kOldFormTurnRefused);
        return false;
    }
    // The dialog counts left turns as positive; the picture stores right turns.
    const double shown = -picture->BLKImagekakudo + 0.0;
    std::optional<double> angle;
    if (ask) {
        angle = ask(*picture, shown);
    } else {
        kov::dialogs::CGazouKaitenDg dialog(pictureOf(*picture), shown, &view);
        if (dialog.exec() == QDialog::Accepted)
            angle = dialog.angle();
    }
    if (!angle)
        return false;
    const int id = picture->ImageID;
    view.PushUndo();
    doc.m_Unit.FindImage(id)->BLKImagekakudo = kov::dialogs::PictureRotationForm::StoredRotation(*angle);
    view.RedrawAll();
    return true;
}

bool OnTrimImage(CKoviraView& view, CKoviraDoc& doc, const PictureTrimAsker& ask)
{
    const CKovImage* picture = selectedPicture(doc);
    if (!picture)
        return false;
    std::optional<kov::tools::TrimFrame> frame;
    if (ask) {
        frame = ask(*picture);
    } else {
        kov::dialogs::CGazouTrimDg dialog(pictureOf(*picture), &view);
        if (dialog.exec() == QDialog::Accepted) {
            const auto f = dialog.fractions();
            frame = kov::tools::TrimFrame{f.left, f.right, f.top, f.bottom};
        }
    }
    if (!frame)
        return false;
    view.PushUndo();
    const kov::tools::PictureOutcome got =
        kov::tools::TrimImage(doc.m_Unit, doc.m_Selection, doc.TempImageFolder(), *frame);
    if (!got.ok) {
        if (!got.message.empty())
            doc.services().questions.message(got.message, {}, kov::platform::MessageIcon::Warning);
        view.RedrawAll();
        return false;
    }
    AddSelectedImagesToTempList(doc);
    view.RedrawAll();
    return true;
}

} // namespace kov::app

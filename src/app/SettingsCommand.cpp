#include "app/SettingsCommand.h"

#include "app/FrameLogic.h"
#include "app/KoviraApp.h"
#include "app/KoviraDoc.h"
#include "app/KovView.h"

#include "building/RoomSettings.h"
#include "dialogs/PartPlacementDialogs.h"
#include "dialogs/ModalRun.h"
#include "dialogs/RoomDialogs.h"
#include "dialogs/SettingsSheet.h"
#include "model/PictureFiles.h"
#include "model/SettingsRegistry.h"
#include "model/SettingsValues.h"
#include "platform/Profile.h"
#include "tools/ToolMachine.h"

#include <QStandardPaths>
#include <QWidget>

namespace kov::app {

namespace {

void addNumbers(const CKovUnit* unit, std::unordered_set<long long>& out)
{
    if (!unit) return;
    for (const auto& image : unit->m_Images) {
        out.insert(image->ImageID);
        const long long n = TempPictureNumberOf(std::filesystem::path(image->ImageName).filename().string());
        if (n >= 0) out.insert(n);
    }
}

} // namespace

std::unordered_set<long long> TempPicturesInUse(const CKoviraDoc& doc)
{
    std::unordered_set<long long> numbers;
    addNumbers(&doc.m_Unit, numbers);
    addNumbers(&doc.m_BaseUnit, numbers);
    for (const CKovUnit* u : doc.m_UndoStack) addNumbers(u, numbers);
    for (const CKovUnit* u : doc.m_RedoStack) addNumbers(u, numbers);
    addNumbers(doc.NewestSnapshot(), numbers);
    for (std::uint32_t n : doc.m_TempImageNumbers) numbers.insert(n);
    return numbers;
}

kov::dialogs::SettingsServices MakeSettingsServices(CKoviraDoc& doc, QWidget* parent)
{
    kov::dialogs::SettingsServices s;
    s.profile = &doc.services().profile;
    s.questions = &doc.services().questions;
    s.folders = doc.services().folders;
    s.documentsFolder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation).toStdString();
    if (CKoviraApp* app = CKoviraApp::Current()) {
        s.cachedValue = [app](std::string_view key) -> std::optional<int> {
            for (const CachedSetting& c : CachedSettings())
                if (kov::model::equalsNoCase(c.key, key)) return app->*c.member;
            return std::nullopt;
        };
        s.writeCached = [app](std::string_view key, int value) { return app->WriteCachedSetting(key, value); };
    }
    kov::platform::Questions* questions = s.questions;
    const double dpi = parent && parent->logicalDpiY() > 0 ? parent->logicalDpiY() : 96;
    // "部屋文字の変更...": the room font dialog, with the font chooser for face and colour.
    s.editRoomFont = [questions, dpi, parent](CFontMenu& font) {
        kov::dialogs::CRoomFontDg dialog(
            font, [dpi](double mm) { return MmToPixels(mm, dpi); },
            [questions, dpi](CFontMenu& f) { return PickFontRecord(f, *questions, dpi); }, parent);
        if (kov::dialogs::RunModal(dialog) != QDialog::Accepted) return false;
        font = dialog.font();
        return true;
    };
    s.tempPicturesInUse = TempPicturesInUse(doc);
    // The parts palette lists the library the user's folder settings name.
    s.partsFolderOrder = [&doc, parent](const std::string&) {
        kov::platform::Profile& profile = doc.services().profile;
        const std::filesystem::path root = doc.services().folders.folderFor(
            kov::platform::UserData::Parts, kov::platform::readCommonFolderSwitches(profile));
        kov::dialogs::CBuhinFordaJyunDg dialog(profile, doc.services().questions, root, parent);
        if (dialog.opened()) dialog.exec();
    };
    s.documentPictureFolder = doc.TempImageFolder();
    return s;
}

void ApplySettingsSheet(CKoviraDoc& doc, const kov::dialogs::SettingsSheetForm& form)
{
    kov::platform::Profile& profile = doc.services().profile;
    CKoviraApp* app = CKoviraApp::Current();
    if (form.resetRequested()) {
        if (app && app->document() == &doc) {
            app->ResetEverySetting();
        } else {
            kov::model::resetSettingsToBuiltIn(profile, doc.m_PlotInfo, doc.m_Grid, doc.services().programFolder);
            for (const CachedSetting& c : CachedSettings()) profile.WriteProfileInt(c.section, c.key, c.defaultValue);
            profile.WriteProfileInt(kov::model::kSectionUtility, "app_haikei", 0);
            profile.WriteProfileString(kov::model::kSectionUtility, "app_haikei_color",
                                       kov::model::colourText(kBackgroundColourDefault));
            for (const ResetSetting& r : FurtherResetSettings()) {
                if (r.isText) profile.WriteProfileString(r.section, r.key, r.text);
                else profile.WriteProfileInt(r.section, r.key, r.value);
            }
        }
    } else {
        doc.m_PlotInfo = form.general.plot;
        // After the plot settings: the room page's font wins over the one inside the copy.
        doc.m_PlotInfo.m_RoomInfo.m_Font = form.rooms.buffer.m_Font;
        doc.m_Grid = form.grid.grid;
    }
    const int depth = app ? app->app_undonum : profile.GetProfileInt(kov::model::kSectionUtility, "app_undonum", 20);
    if (depth >= 2 && depth <= 99) doc.m_nUndoDepth = depth;
}

bool OnSettings(CKoviraDoc& doc, CKoviraView* view, QWidget* parent)
{
    const kov::dialogs::SettingsServices services = MakeSettingsServices(doc, parent);
    kov::dialogs::SettingsSheetForm form(services);
    form.Load(doc.m_PlotInfo, doc.m_Grid, doc.m_PlotInfo.m_RoomInfo.m_Font);
    kov::dialogs::CPropSheet1 sheet(form, services, parent);
    if (sheet.exec() != QDialog::Accepted) return false;
    ApplySettingsSheet(doc, form);
    if (view) {
        kov::platform::Profile& profile = doc.services().profile;
        view->machine().settings().Load(profile);
        view->machine().m_roomSettings = RoomSettings::FromProfile(profile);
        view->RedrawAll();
    }
    return true;
}

} // namespace kov::app

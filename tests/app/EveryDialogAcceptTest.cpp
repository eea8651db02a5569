// Every dialog and panel of src/dialogs built on a small drawing, loaded, and confirmed as it opened:
// a dialog closes on OK with its own values, asks nothing, shows after OK what it showed before, and
// what it saved opens again the same and is saved again unchanged. A panel goes through the
// program's panel close instead of OK.

#include "dialogs/AutoDimensionDialog.h"
#include "dialogs/AxisLinesDialog.h"
#include "dialogs/BalloonPanel.h"
#include "dialogs/ChamferDialogs.h"
#include "dialogs/ColumnDialog.h"
#include "dialogs/CoordinateImportDialog.h"
#include "dialogs/DimensionStyleDialog.h"
#include "dialogs/DivideDialogs.h"
#include "dialogs/DoubleLinePanel.h"
#include "dialogs/DxfReadSetDialog.h"
#include "dialogs/EditDialogs.h"
#include "dialogs/ElevationDialogs.h"
#include "dialogs/FigurePropertyDialog.h"
#include "dialogs/FigureSizeDialogs.h"
#include "dialogs/FittingsPalette.h"
#include "dialogs/FolderDialogs.h"
#include "dialogs/GridConfDialog.h"
#include "dialogs/GroupRotationDialog.h"
#include "dialogs/HatchSettingsDialog.h"
#include "dialogs/JwwReadSettings.h"
#include "dialogs/LayerDialogs.h"
#include "dialogs/LinePanels.h"
#include "dialogs/LineStyleDialogs.h"
#include "dialogs/MeasureDialogs.h"
#include "dialogs/NotationSymbolDialog.h"
#include "dialogs/PaperDialogs.h"
#include "dialogs/ParallelLineDialog.h"
#include "dialogs/PartPlacementDialogs.h"
#include "dialogs/PartsPalette.h"
#include "dialogs/PictureDialogs.h"
#include "dialogs/PictureOutputDialogs.h"
#include "dialogs/RelativeInputDialog.h"
#include "dialogs/RoomChoicePanel.h"
#include "dialogs/RoomDialogs.h"
#include "dialogs/SelectedTextDialog.h"
#include "dialogs/SelectionStyleDialogs.h"
#include "dialogs/SettingsServices.h"
#include "dialogs/SettingsSheet.h"
#include "dialogs/StairsPanel.h"
#include "dialogs/StringEntryDialog.h"
#include "dialogs/TextPanels.h"
#include "dialogs/ToolPanelClosing.h"
#include "dialogs/WallThicknessDialog.h"
#include "model/PaperSizes.h"
#include "model/RituInfo.h"
#include "model/StairsSettings.h"
#include "platform/NumberText.h"
#include "render/DrawEnvironment.h"

#include "app/WindowTestSupport.h"
#include "support/EditFixtures.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QTimer>
#include <QApplication>
#include <QPushButton>
#include <QSlider>
#include <QTest>

#include <functional>
#include <map>
#include <memory>
#include <sstream>

namespace {

using namespace kov::dialogs;
namespace fs = std::filesystem;

const fs::path kLibrary = KOVIRA_LIBRARY_DATA;

// A profile whose whole content can be compared.
class MapProfile final : public kov::platform::Profile {
public:
    std::map<std::string, std::string> values;
    int GetProfileInt(std::string_view section, std::string_view key, int defaultValue) const override
    {
        auto it = values.find(name(section, key));
        if (it == values.end()) return defaultValue;
        const double v = kov::platform::parseDouble(it->second);
        return static_cast<int>(v);
    }
    std::string GetProfileString(std::string_view section, std::string_view key, std::string_view defaultValue) const override
    {
        auto it = values.find(name(section, key));
        return it == values.end() ? std::string(defaultValue) : it->second;
    }
    bool WriteProfileInt(std::string_view section, std::string_view key, int value) override
    {
        values[name(section, key)] = std::to_string(value);
        return true;
    }
    bool WriteProfileString(std::string_view section, std::string_view key, std::string_view value) override
    {
        values[name(section, key)] = std::string(value);
        return true;
    }

private:
    static std::string name(std::string_view section, std::string_view key)
    {
        std::string n = std::string(section) + "/" + std::string(key);
        for (char& c : n) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return n;
    }
};

// What the dialog's controls show, control by control.
std::string shownValues(const QWidget& dialog)
{
    std::ostringstream out;
    for (const QWidget* w : dialog.findChildren<QWidget*>()) {
        const std::string name = w->objectName().toStdString();
        if (auto* e = qobject_cast<const QLineEdit*>(w))
            out << name << "=" << e->text().toStdString() << "\n";
        else if (auto* c = qobject_cast<const QComboBox*>(w))
            out << name << "=#" << c->currentIndex() << "\n";
        else if (auto* b = qobject_cast<const QAbstractButton*>(w); b && b->isCheckable())
            out << name << "=" << (b->isChecked() ? "on" : "off") << "\n";
        else if (auto* s = qobject_cast<const QAbstractSpinBox*>(w))
            out << name << "=" << s->text().toStdString() << "\n";
        else if (auto* l = qobject_cast<const QListWidget*>(w))
            out << name << "=#" << l->currentRow() << "\n";
        else if (auto* sl = qobject_cast<const QSlider*>(w))
            out << name << "=" << sl->value() << "\n";
    }
    return out.str();
}

// The OK of the dialog: the button named "ok", else the accepting button of its button box.
QAbstractButton* okButton(QDialog& dialog)
{
    if (auto* ok = dialog.findChild<QAbstractButton*>(QStringLiteral("ok"))) return ok;
    for (auto* box : dialog.findChildren<QDialogButtonBox*>())
        for (QAbstractButton* b : box->buttons())
            if (box->buttonRole(b) == QDialogButtonBox::AcceptRole) return b;
    return nullptr;
}

QImage smallPicture()
{
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(Qt::white);
    return picture;
}

struct Env : kov::test::WindowRig {
    MapProfile store;
    CKovUnit::DrawEnvironment drawEnv;
    SettingsServices services;
    std::unique_ptr<SettingsSheetForm> sheet;
    // What the panels edit in place; they outlive every panel.
    std::array<double, 4> chamferSizes{300, 300, 300, 300};
    int chamferMode = 0;
    double angle = 0, length = 100, radius = 500;
    int lengthGiven = 0, radiusFixed = 0, roomFixed = 0, roomSize = 0;
    CFontMenu font;
    CRoomInfo room;
    StairsSettings stairs;
    CRituInfo ritu;
    kov::tools::TextPanelValues textValues;
    kov::tools::DecoratedTextValues decorated;
    kov::tools::BalloonValues balloon;
    std::string pending;

    Env()
    {
        kov::test::addWall(doc->m_Unit, 1, {0, 0}, {3640, 0}, 50, 0, 0, 0);
        doc->m_Unit.MUnitWallID = 1;
        services.profile = &store;
        services.questions = &questions;
        services.folders = folders;
        services.documentsFolder = temp.file("Documents");
        services.cachedValue = [](std::string_view) { return std::optional<int>(); };
        services.writeCached = [](std::string_view, int) { return false; };
    }
    kov::tools::ToolMachine& machine() { return view().machine(); }
    TextPanelHooks hooks()
    {
        TextPanelHooks h;
        h.mmToDevice = [](double mm) { return static_cast<int>(mm * 4); };
        h.pickFont = [](CFontMenu&) { return false; };
        h.redraw = [] {};
        h.drawToolSample = [] {};
        return h;
    }
};

struct Opened {
    std::unique_ptr<QDialog> dialog;
    bool panel = false; // closed as the program closes tool panels, not with OK
};

Opened dialog(QDialog* d) { return {std::unique_ptr<QDialog>(d), false}; }
Opened panel(QDialog* d) { return {std::unique_ptr<QDialog>(d), true}; }

struct Case {
    const char* name;
    std::function<Opened(Env&)> open;
    bool opensEmpty = false; // nothing to load: OK asks for the values and stays open
};

// Answers every message box that a dialog shows on its own while OK runs, and keeps its text.
class MessageCloser {
public:
    MessageCloser()
    {
        m_timer.setInterval(5);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                shown.push_back(box->text().toStdString());
                box->accept();
            }
        });
        m_timer.start();
    }
    std::vector<std::string> shown;

private:
    QTimer m_timer;
};

// One row for each dialog and panel class of src/dialogs; the settings pages are the sheet's.
std::vector<Case> everyDialog()
{
    using Mode = LinePropForm::Mode;
    return {
        {"CSunpouAutoDlg", [](Env&) { return dialog(new CSunpouAutoDlg(AutoDimensionValues{})); }},
        {"CAutoToorisinDlg",
         [](Env& e) {
             return dialog(new CAutoToorisinDlg(e.store, e.questions, e.temp.file("ats_atai.csv"), 0, 0));
         }},
        {"CHukidashiDg", [](Env& e) { return panel(new CHukidashiDg(e.balloon, [] {})); }},
        {"ChamferPanel", [](Env& e) { return panel(new ChamferPanel(e.chamferSizes, e.chamferMode, e.store)); }},
        {"ChamferDialog", [](Env& e) { return dialog(new ChamferDialog(e.chamferSizes, 0)); }},
        {"CHasiraDlg", [](Env&) { return dialog(new CHasiraDlg(50, 2, false)); }},
        {"CZahyoOutputDlg", [](Env& e) { return dialog(new CZahyoOutputDlg(e.store, 4)); }},
        {"CSunpoSetDlg", [](Env&) { return dialog(new CSunpoSetDlg(DimensionStyle{}, {"ＭＳ ゴシック", "ＭＳ 明朝"})); }},
        {"CHaikeiColorSetDg", [](Env& e) { return dialog(new CHaikeiColorSetDg(1, 0x00ffffff, e.questions)); }},
        {"DivideDialog", [](Env&) { return dialog(new DivideDialog); }},
        {"DivisionCountDialog", [](Env&) { return dialog(new DivisionCountDialog(4)); }},
        {"CNisenDlg",
         [](Env& e) { return panel(new CNisenDlg(e.machine(), e.store, 0, [](std::string_view) {}, [] {})); }},
        {"DxfReadSetDialog", [](Env&) { return dialog(new DxfReadSetDialog); }},
        {"GroupStretchDialog", [](Env& e) { return dialog(new GroupStretchDialog(2000, 1000, false, e.store)); }},
        {"GroupStretchDialog (range)", [](Env& e) { return dialog(new GroupStretchDialog(0, 0, true, e.store)); }},
        {"ObjectMoveDialog", [](Env& e) { return dialog(new ObjectMoveDialog(ObjectMoveForm::MOVE, e.store)); }},
        {"ObjectMoveDialog (copy)", [](Env& e) { return dialog(new ObjectMoveDialog(ObjectMoveForm::COPY, e.store)); }},
        {"ObjectMoveDialog (stretch)",
         [](Env& e) { return dialog(new ObjectMoveDialog(ObjectMoveForm::STRETCH, e.store)); }},
        {"OriginChangeDialog", [](Env&) { return dialog(new OriginChangeDialog("原点を変更します")); }},
        {"CRitumenSetDlg", [](Env& e) { return dialog(new CRitumenSetDlg(e.ritu)); }},
        {"CRituYaneDlg", [](Env& e) { return dialog(new CRituYaneDlg(e.ritu)); }},
        {"CRituBalDlg", [](Env& e) { return dialog(new CRituBalDlg(e.ritu)); }},
        {"CLinePropSetDg (selection)",
         [](Env& e) { return dialog(new CLinePropSetDg(e.doc->m_PlotInfo, e.store, e.questions, Mode::Selection, 0)); }},
        {"CLinePropSetDg (tool style)",
         [](Env& e) {
             return dialog(new CLinePropSetDg(e.doc->m_PlotInfo, e.store, e.questions, Mode::ToolDefaults, 0));
         }},
        {"RectBySizeDialog", [](Env&) { return dialog(new RectBySizeDialog); }, true},
        {"TriangleSidesDialog", [](Env&) { return dialog(new TriangleSidesDialog(3000)); }, true},
        {"FittingsPalette",
         [](Env& e) {
             return panel(new FittingsPalette(e.machine(), e.store, e.questions, kLibrary / "tateg"));
         }},
        {"CTategPropDlg", [](Env& e) { return dialog(new CTategPropDlg(780, 150, e.questions)); }},
        {"CPathSetDg", [](Env& e) { return dialog(new CPathSetDg(e.store, e.questions, e.temp.file("user"))); }},
        {"COldConvDlg", [](Env& e) { return dialog(new COldConvDlg(e.services)); }},
        {"CGridConfDlg", [](Env& e) { return dialog(new CGridConfDlg(e.doc->m_Grid, e.store)); }},
        {"CGrpKaitenDlg", [](Env& e) { return dialog(new CGrpKaitenDlg(e.doc->m_Unit, 0)); }},
        {"CHachSetDg",
         [](Env& e) {
             CHachSetForm values;
             values.m_nKind = CHachSetForm::Grid;
             values.m_dAngle = 30;
             return dialog(new CHachSetDg(values, e.doc->m_PlotInfo, *e.view().WindowTransform()));
         }},
        {"CJWWReadSetDg", [](Env&) { return dialog(new CJWWReadSetDg); }},
        {"CLayerChangeDlg", [](Env&) { return dialog(new CLayerChangeDlg(0, 0)); }},
        {"CLayerItiranDg",
         [](Env& e) { return dialog(new CLayerItiranDg(e.doc->m_PlotInfo, e.doc->m_Unit, e.drawEnv)); }},
        {"CLayerNameDlg", [](Env& e) { return dialog(new CLayerNameDlg(e.doc->m_PlotInfo)); }},
        {"AnglePanel", [](Env& e) { return panel(new AnglePanel(e.angle, e.lengthGiven, e.length, e.store)); }},
        {"LengthPanel", [](Env& e) { return panel(new LengthPanel(e.length, e.store)); }},
        {"FixedRadiusPanel", [](Env& e) { return panel(new FixedRadiusPanel(e.radius, e.radiusFixed, e.store)); }},
        {"LengthDialog", [](Env&) { return dialog(new LengthDialog("垂直線の長さ", 300)); }},
        {"CLineWideSetDg", [](Env& e) { return dialog(new CLineWideSetDg(e.doc->m_PlotInfo)); }},
        {"CLinePichDlg", [](Env&) { return dialog(new CLinePichDlg(LinePichTable{})); }},
        {"CKeijyouPichDg",
         [](Env&) {
             std::array<double, LineEndSizeForm::kClasses> sizes{};
             sizes.fill(999.99);
             return dialog(new CKeijyouPichDg(sizes));
         }},
        {"MeasureResultDialog",
         [](Env&) {
             MeasureResultForm form;
             form.label = "面積";
             form.texts = {"6.00", "60000.00", "6000000.00", "1.82", "3.63"};
             form.units = {"㎡", "c㎡", "m㎡", "坪", "畳"};
             return dialog(new MeasureResultDialog(form));
         }},
        {"ObjectCountDialog", [](Env& e) { return dialog(new ObjectCountDialog(e.doc->m_Unit, 0, 0)); }},
        {"CHyoukiKigouDg", [](Env&) { return dialog(new CHyoukiKigouDg(1, 3.5, kLibrary / "hyouki")); }},
        {"PaperUserDialog", [](Env&) { return dialog(new PaperUserDialog(500, 300)); }},
        {"PageSetDialog", [](Env& e) { return dialog(new PageSetDialog(kov::io::PageSetForm{}, e.questions)); }},
        {"PageSetDialog (user paper of no extent)",
         [](Env& e) {
             kov::io::PageSetForm values;
             values.paperCode = kov::model::kUserPaperCode;
             values.userWidth = values.userHeight = 0;
             return dialog(new PageSetDialog(values, e.questions));
         }},
        {"CGridConfDlg (a grid finer than a tenth)",
         [](Env& e) {
             CGrid grid;
             grid.GridW[0] = 0.04;
             return dialog(new CGridConfDlg(grid, e.store));
         }},
        {"PrintmoveDialog", [](Env&) { return dialog(new PrintmoveDialog(10, -5)); }},
        {"ParallelDistanceDialog", [](Env&) { return dialog(new ParallelDistanceDialog(455)); }},
        {"CBuhinItiSetDlg", [](Env& e) { return dialog(new CBuhinItiSetDlg(e.store)); }},
        {"CBuhinFordaJyunDg",
         [](Env& e) { return dialog(new CBuhinFordaJyunDg(e.store, e.questions, kLibrary / "data")); }},
        {"CFordaAddDlg", [](Env&) { return dialog(new CFordaAddDlg("フォルダの追加", 0)); }},
        {"PartsPalette",
         [](Env& e) { return panel(new PartsPalette(e.machine(), e.store, e.questions, kLibrary / "data")); }},
        {"CGazouKaitenDg", [](Env&) { return dialog(new CGazouKaitenDg(smallPicture(), 30)); }},
        {"CGazouTrimDg", [](Env&) { return dialog(new CGazouTrimDg(smallPicture())); }},
        {"CGazouSizeRealDlg", [](Env&) { return dialog(new CGazouSizeRealDlg(100, 150)); }},
        {"CGazouOutSizeDg",
         [](Env& e) {
             auto* d = new CGazouOutSizeDg(e.store);
             d->LoadSettings();
             return panel(d);
         }},
        {"CGazouAutoSaveSetDg",
         [](Env& e) {
             AutoPictureSaveForm values;
             values.Load(e.store, e.temp.file("Documents"));
             return dialog(new CGazouAutoSaveSetDg(values, [](const fs::path&) { return std::optional<fs::path>(); }));
         }},
        {"RelativeInputDialog", [](Env&) { return dialog(new RelativeInputDialog(CDbPoint{100, 200})); }},
        {"CRoomChoiseDlg",
         [](Env& e) {
             return panel(new CRoomChoiseDlg(e.room, e.store, 0, e.roomFixed, e.roomSize, {}, false, 1));
         }},
        {"CRoomFontDg",
         [](Env& e) { return dialog(new CRoomFontDg(e.font, [](double mm) { return static_cast<int>(mm * 4); }, {})); }},
        {"CRoomHenkouDlg", [](Env& e) { return dialog(new CRoomHenkouDlg(e.room, e.store, e.questions)); }},
        {"CFontsyuseidlg",
         [](Env& e) {
             SelectedTextForm values;
             values.text = "居間";
             return dialog(new CFontsyuseidlg(values, e.questions, {}));
         }},
        {"CAlphaChangeDg", [](Env&) { return dialog(new CAlphaChangeDg(60)); }},
        {"CGradHenkouDg", [](Env&) { return dialog(new CGradHenkouDg(true)); }},
        {"CPropSheet1",
         [](Env& e) {
             e.sheet = std::make_unique<SettingsSheetForm>(e.services);
             e.sheet->Load(e.doc->m_PlotInfo, e.doc->m_Grid, e.font);
             return dialog(new CPropSheet1(*e.sheet, e.services));
         }},
        {"CKaidanDlg", [](Env& e) { return panel(new CKaidanDlg(e.stairs, e.store, e.questions)); }},
        {"CStringSetDlg", [](Env&) { return dialog(new CStringSetDlg("寸法値", "3640", "mm")); }},
        {"TextSettingsPanel",
         [](Env& e) { return panel(new TextSettingsPanel(e.font, e.textValues, e.store, e.questions, e.hooks())); }},
        {"TextEntryLine", [](Env& e) { return panel(new TextEntryLine(e.pending, {}, [] {}, [] {}, [] {})); }},
        {"DecoratedTextPanel",
         [](Env& e) { return panel(new DecoratedTextPanel(e.decorated, e.store, e.questions, {}, e.hooks())); }},
        {"WallThicknessDialog", [](Env& e) { return dialog(new WallThicknessDialog(e.doc->m_PlotInfo, true)); }},
        {"WallThicknessDialog (panel)",
         [](Env& e) { return panel(new WallThicknessDialog(e.doc->m_PlotInfo, false)); }},
    };
}

// Confirms as a person does: OK for a dialog (true when it closed, accepted), the program's panel
// close for a panel.
bool confirm(Opened& o)
{
    if (o.panel) {
        CloseToolPanel(o.dialog.release());
        return true;
    }
    QDialog& d = *o.dialog;
    d.show();
    QAbstractButton* ok = okButton(d);
    if (ok)
        QTest::mouseClick(ok, Qt::LeftButton);
    else
        d.accept();
    return !d.isVisible() && d.result() == QDialog::Accepted;
}

TEST(EveryDialog, AcceptedAsItOpenedClosesAndSavesWhatItLoaded)
{
    for (const Case& c : everyDialog()) {
        SCOPED_TRACE(c.name);
        Env e;
        MessageCloser messages;
        Opened first = c.open(e);
        const std::string shown = shownValues(*first.dialog);
        QDialog* raw = first.dialog.get();
        const bool closed = confirm(first);
        if (c.opensEmpty) {
            // Its values are typed, never loaded: OK says what is missing and stays open.
            EXPECT_FALSE(closed);
            EXPECT_EQ(messages.shown.size(), 1u);
            raw->reject();
            continue;
        }
        EXPECT_TRUE(closed) << "does not close when accepted unchanged";
        EXPECT_EQ(messages.shown, std::vector<std::string>{}) << "refuses the values it filled in itself";
        if (!first.panel) {
            EXPECT_EQ(shownValues(*raw), shown) << "OK changed what it shows";
            // A dialog that refused its values is still open: close it before the next row.
            raw->reject();
        }
        const std::map<std::string, std::string> saved = e.store.values;

        // What it saved opens the same, and is saved again unchanged.
        Opened again = c.open(e);
        EXPECT_EQ(shownValues(*again.dialog), shown) << "opens differently from what it saved";
        QDialog* second = again.dialog.get();
        EXPECT_TRUE(confirm(again));
        if (!again.panel) second->reject();
        EXPECT_EQ(e.store.values, saved) << "saves differently the second time";
    }
}

} // namespace

#include "dialogs/GeneralSettingsPage.h"

#include "dialogs/FolderDialogs.h"
#include "dialogs/LineStyleDialogs.h"
#include "dialogs/PictureOutputDialogs.h"
#include "dialogs/SettingsServices.h"
#include "dialogs/SettingsTexts.h"
#include "dialogs/SettingsWidgets.h"
#include "io/PictureExport.h"
#include "model/PictureFiles.h"
#include "model/SettingsValues.h"
#include "platform/NumberText.h"
#include "platform/Profile.h"
#include "platform/Questions.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace kov::dialogs {

using kov::model::kSectionPlotMenu;
using kov::model::kSectionUtility;
using kov::platform::formatInt;
using kov::platform::parseInt;
using ui::control;
using ui::named;
using ui::qs;

void GeneralPageForm::OnInitDialog()
{
    const kov::platform::Profile& p = *m_services.profile;
    resetRequest = 0;
    moveX = formatInt(plot.PlotMoveX);
    moveY = formatInt(plot.PlotMoveY);
    switch (plot.PlotWallBlack) {
    case 0: wallMode = WallWhite; break;
    case 1: wallMode = WallBlack; break;
    case 2: case 3: wallMode = WallColoured; break;
    case 4: wallMode = WallColouredEdge; break;
    default: wallMode = -1; break;
    }
    const int loading = p.GetProfileInt(kSectionPlotMenu, "config_gazouchoise", 1);
    pictureLoading = loading >= 0 && loading <= 2 ? loading : -1;
    pictureWidth = formatInt(plot.PlotImageWidth);
    pictureHeight = formatInt(plot.PlotImageHeight);
    formatUse = p.GetProfileInt(kSectionPlotMenu, "config_format", 0) ? 1 : 0;
    formatPath = p.GetProfileString(kSectionPlotMenu, "config_formatpath", "");
    jpegQuality = formatInt(p.GetProfileInt(kSectionUtility, "gazou_jpeg_atu", 100));
    sizeGiven = p.GetProfileInt(kSectionPlotMenu, "gazou_size", 0) ? 1 : 0;
    sizeWidth = formatInt(p.GetProfileInt(kSectionPlotMenu, "gazou_size_w", 800));
    sizeHeight = formatInt(p.GetProfileInt(kSectionPlotMenu, "gazou_size_h", 800));
    exactSize = p.GetProfileInt(kSectionUtility, "app_gazou_justsize", 0) ? 1 : 0;
    doubleSize = p.GetProfileInt(kSectionUtility, "app_gazoubai", 1) ? 1 : 0;
    transparentPng = p.GetProfileInt(kSectionPlotMenu, "gazou_toukagif", 0) ? 1 : 0;
    dimensions = DimensionStyle::From(plot, p.GetProfileInt(kSectionPlotMenu, "config_sunpo_bunkai", 1));
    fittings3x5 = p.GetProfileInt(kSectionPlotMenu, "tategu_hyouzi_kazu", 0) != 0 ? 1 : 0;
    autoSave = p.GetProfileInt(kSectionPlotMenu, "gazou_zidousave", 0) ? 1 : 0;
}

bool GeneralPageForm::ChooseWallColour()
{
    const std::optional<std::uint32_t> c = m_services.questions->chooseColor(plot.PlotWallColor);
    if (!c) return false;
    plot.PlotWallColor = *c;
    return true;
}

bool GeneralPageForm::BrowseFormatFile()
{
    const std::optional<std::filesystem::path> chosen =
        m_services.questions->chooseOpenFile(texts::kFormatFileTitle, texts::kFormatFileFilter, std::filesystem::path());
    if (!chosen) return false;
    formatPath = chosen->string();
    return true;
}

std::array<double, CPlotInfo::kMarkSizes> GeneralPageForm::StoredLineEndSizes() const
{
    return LineEndSizeForm::FromProfile(*m_services.profile);
}

void GeneralPageForm::TakeLineEndSizes(const std::array<double, CPlotInfo::kMarkSizes>& sizes)
{
    LineEndSizeForm::SaveProfile(*m_services.profile, sizes);
    plot.keij_pich = sizes;
}

int GeneralPageForm::StoredBackgroundSwitch() const
{
    return m_services.profile->GetProfileInt(kSectionUtility, "app_haikei", 0);
}

std::uint32_t GeneralPageForm::StoredBackgroundColour() const
{
    return static_cast<std::uint32_t>(
        parseInt(m_services.profile->GetProfileString(kSectionUtility, "app_haikei_color", "5592405")));
}

void GeneralPageForm::TakeBackground(int own, std::uint32_t colour)
{
    m_services.profile->WriteProfileInt(kSectionUtility, "app_haikei", own);
    m_services.profile->WriteProfileString(kSectionUtility, "app_haikei_color", kov::model::colourText(colour));
}

AutoPictureSaveForm GeneralPageForm::StoredAutoSave() const
{
    AutoPictureSaveForm values;
    values.Load(*m_services.profile, m_services.documentsFolder);
    return values;
}

void GeneralPageForm::TakeAutoSave(const AutoPictureSaveForm& values) { values.Save(*m_services.profile); }

bool GeneralPageForm::ConfirmReset()
{
    if (!m_services.questions->askOkCancel(texts::kAskResetAll)) return false;
    resetRequest = 1;
    return true;
}

bool GeneralPageForm::ConfirmFolderSettings() { return m_services.questions->askOkCancel(texts::kAskFolderSettings); }

void GeneralPageForm::PurgeTempPictures() const
{
    kov::platform::Questions& q = *m_services.questions;
    if (!q.askOkCancel(texts::kAskPurge)) return;
    const auto folder = m_services.folders.folderFor(kov::platform::UserData::TempPictures, m_services.switches());
    TempPicturePurge r = ::PurgeTempPictures(folder, m_services.tempPicturesInUse);
    if (!m_services.documentPictureFolder.empty() && m_services.documentPictureFolder != folder) {
        const TempPicturePurge own = ::PurgeTempPictures(m_services.documentPictureFolder, m_services.tempPicturesInUse);
        r.deleted += own.deleted;
        r.failed += own.failed;
    }
    if (r.deleted + r.failed == 0) {
        q.message(texts::kNothingToPurge);
        return;
    }
    std::string text = r.deleted > 0 ? texts::kPurged : "";
    if (r.failed > 0) text += (text.empty() ? "" : "\n") + ui::withValue(texts::kPurgeFailed, r.failed);
    q.message(text);
}

void GeneralPageForm::OnOK()
{
    kov::platform::Profile& p = *m_services.profile;
    plot.PlotMoveX = parseInt(moveX);
    plot.PlotMoveY = parseInt(moveY);
    dimensions.To(plot);
    p.WriteProfileInt(kSectionPlotMenu, "config_sunpo_bunkai", dimensions.valueMode ? 1 : 0);
    if (wallMode >= 0) plot.PlotWallBlack = wallMode;
    if (pictureLoading >= 0) p.WriteProfileInt(kSectionPlotMenu, "config_gazouchoise", pictureLoading);
    plot.PlotImageWidth = parseInt(pictureWidth);
    plot.PlotImageHeight = parseInt(pictureHeight);
    if (formatUse && !formatPath.empty()) {
        p.WriteProfileString(kSectionPlotMenu, "config_formatpath", formatPath);
        p.WriteProfileInt(kSectionPlotMenu, "config_format", 1);
    } else {
        p.WriteProfileInt(kSectionPlotMenu, "config_format", 0);
    }
    const int quality = parseInt(jpegQuality);
    p.WriteProfileInt(kSectionUtility, "gazou_jpeg_atu", quality >= 1 && quality <= 100 ? quality : 100);
    p.WriteProfileInt(kSectionUtility, "app_gazoubai", doubleSize);
    p.WriteProfileInt(kSectionPlotMenu, "gazou_toukagif", transparentPng);
    p.WriteProfileInt(kSectionPlotMenu, "gazou_size", sizeGiven);
    p.WriteProfileInt(kSectionPlotMenu, "gazou_size_w", kov::io::ClampPictureOutputSide(parseInt(sizeWidth)));
    p.WriteProfileInt(kSectionPlotMenu, "gazou_size_h", kov::io::ClampPictureOutputSide(parseInt(sizeHeight)));
    p.WriteProfileInt(kSectionUtility, "app_gazou_justsize", exactSize);
    p.WriteProfileInt(kSectionPlotMenu, "tategu_hyouzi_kazu", fittings3x5);
    p.WriteProfileInt(kSectionPlotMenu, "gazou_zidousave", autoSave);
}

// -- the page's widget ----------------------------------------------------------------------------

namespace {

QLineEdit* digitsEdit(const char* name, int width = 56)
{
    auto* e = named(new QLineEdit, name);
    e->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), e));
    e->setFixedWidth(width);
    return e;
}

QPushButton* button(const char* name, const char* caption) { return named(new QPushButton(qs(caption)), name); }

} // namespace

GeneralSettingsPage::GeneralSettingsPage(GeneralPageForm& form, const SettingsServices& services, QWidget* parent)
    : QWidget(parent), m_form(form), m_services(services)
{
    auto* columns = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    auto* right = new QVBoxLayout;
    columns->addLayout(left, 1);
    columns->addLayout(right, 1);

    auto* move = new QGroupBox(qs(texts::kKeyboardMove));
    auto* ml = new QHBoxLayout(move);
    ml->addWidget(new QLabel(qs(texts::kMoveX)));
    ml->addWidget(digitsEdit("movex"));
    ml->addWidget(new QLabel(qs(texts::kMm)));
    ml->addSpacing(12);
    ml->addWidget(new QLabel(qs(texts::kMoveY)));
    ml->addWidget(digitsEdit("movey"));
    ml->addWidget(new QLabel(qs(texts::kMm)));
    ml->addStretch(1);
    auto* dims = new QGroupBox(qs(texts::kDimensionGroup));
    auto* dl = new QHBoxLayout(dims);
    dl->addWidget(button("dimensions", texts::kDimensionButton));
    auto* top = new QHBoxLayout;
    top->addWidget(move, 1);
    top->addWidget(dims);
    left->addLayout(top);

    auto* pictures = new QGroupBox(qs(texts::kPictureSizeGroup));
    auto* pl = new QGridLayout(pictures);
    auto* loading = new QButtonGroup(this);
    const char* loadingLabels[3] = {texts::kPictureOriginal, texts::kPictureGiven, texts::kPictureToScale};
    for (int i = 0; i < 3; ++i) {
        auto* r = named(new QRadioButton(qs(loadingLabels[i])), ("config_gazouchoise" + std::to_string(i)).c_str());
        loading->addButton(r, i);
        pl->addWidget(r, i == 2 ? 3 : i, 0, 1, 6);
    }
    pl->addWidget(new QLabel(qs(texts::kWidth)), 2, 0, Qt::AlignRight);
    pl->addWidget(digitsEdit("imagew"), 2, 1);
    pl->addWidget(new QLabel(qs(texts::kMmPrinted)), 2, 2);
    pl->addWidget(new QLabel(qs(texts::kHeight)), 2, 3, Qt::AlignRight);
    pl->addWidget(digitsEdit("imageh"), 2, 4);
    pl->addWidget(new QLabel(qs(texts::kMmPrinted)), 2, 5);
    left->addWidget(pictures);

    auto* format = new QGroupBox(qs(texts::kFormatGroup));
    auto* fl = new QHBoxLayout(format);
    fl->addWidget(named(new QCheckBox(qs(texts::kFormatUse)), "config_format"));
    fl->addWidget(named(new QLineEdit, "config_formatpath"), 1);
    fl->addWidget(button("formatBrowse", texts::kBrowse));
    left->addWidget(format);

    auto* walls = new QGroupBox(qs(texts::kWallColourGroup));
    auto* wl = new QHBoxLayout(walls);
    auto* wallGroup = new QButtonGroup(this);
    const std::pair<const char*, int> wallRadios[4] = {{texts::kWallBlack, GeneralPageForm::WallBlack},
                                                       {texts::kWallWhite, GeneralPageForm::WallWhite},
                                                       {texts::kWallColoured, GeneralPageForm::WallColoured},
                                                       {texts::kWallColouredEdge, GeneralPageForm::WallColouredEdge}};
    for (const auto& [caption, mode] : wallRadios) {
        auto* b = named(new QPushButton(qs(caption)), ("wall" + std::to_string(mode)).c_str());
        b->setCheckable(true);
        wallGroup->addButton(b, mode);
        wl->addWidget(b);
    }
    auto* wallSample = named(new QLabel, "wallSample");
    wallSample->setFixedSize(40, 20);
    wallSample->setFrameShape(QFrame::Box);
    wl->addWidget(wallSample);
    auto* wallPick = button("wallColour", texts::kColourButton);
    wallPick->setFixedWidth(28);
    wl->addWidget(wallPick);
    left->addWidget(walls);

    auto* screen = new QGroupBox(qs(texts::kScreenGroup));
    auto* sl = new QHBoxLayout(screen);
    sl->addWidget(button("screenColour", texts::kScreenColour));
    sl->addWidget(button("partsOrder", texts::kPartsOrder));
    left->addWidget(screen);

    auto* lines = new QGroupBox(qs(texts::kLineGroup));
    auto* ll = new QHBoxLayout(lines);
    ll->addWidget(button("lineTypes", texts::kLineTypes));
    ll->addWidget(button("lineEnds", texts::kLineEnds));
    ll->addWidget(button("lineWidths", texts::kLineWidths));
    left->addWidget(lines);
    left->addStretch(1);

    auto* output = new QGroupBox(qs(texts::kPictureOutputGroup));
    auto* ol = new QVBoxLayout(output);
    auto* quality = new QHBoxLayout;
    quality->addWidget(new QLabel(qs(texts::kJpegQuality)));
    quality->addWidget(digitsEdit("gazou_jpeg_atu", 40));
    quality->addWidget(new QLabel(qs(texts::kPercent)));
    quality->addStretch(1);
    ol->addLayout(quality);
    auto* size = new QGroupBox(qs(texts::kOutputSizeGroup));
    auto* szl = new QGridLayout(size);
    szl->addWidget(named(new QCheckBox(qs(texts::kSizeGiven)), "gazou_size"), 0, 0, 1, 6);
    szl->addWidget(new QLabel(qs(texts::kWidth)), 1, 0);
    szl->addWidget(digitsEdit("gazou_size_w"), 1, 1);
    szl->addWidget(new QLabel(qs(texts::kTimes)), 1, 2);
    szl->addWidget(new QLabel(qs(texts::kHigh)), 1, 3);
    szl->addWidget(digitsEdit("gazou_size_h"), 1, 4);
    szl->addWidget(new QLabel(qs(texts::kPixels)), 1, 5);
    szl->addWidget(named(new QCheckBox(qs(texts::kExactSize)), "app_gazou_justsize"), 2, 0, 1, 6);
    ol->addWidget(size);
    ol->addWidget(named(new QCheckBox(qs(texts::kDoubleSize)), "app_gazoubai"));
    ol->addWidget(named(new QCheckBox(qs(texts::kTransparentPng)), "gazou_toukagif"));
    auto* autoRow = new QHBoxLayout;
    autoRow->addWidget(named(new QCheckBox(qs(texts::kAutoSave)), "gazou_zidousave"));
    autoRow->addWidget(button("autoDetails", texts::kAutoSaveDetails));
    autoRow->addStretch(1);
    ol->addLayout(autoRow);
    right->addWidget(output);

    auto* fittings = new QGroupBox(qs(texts::kFittingsGroup));
    auto* ftl = new QHBoxLayout(fittings);
    ftl->addWidget(new QLabel(qs(texts::kFittingsLabel)));
    auto* fittingGroup = new QButtonGroup(this);
    auto* f24 = named(new QRadioButton(qs(texts::kFittings2x4)), "tategu_hyouzi_kazu0");
    auto* f35 = named(new QRadioButton(qs(texts::kFittings3x5)), "tategu_hyouzi_kazu1");
    fittingGroup->addButton(f24, 0);
    fittingGroup->addButton(f35, 1);
    ftl->addWidget(f24);
    ftl->addWidget(f35);
    ftl->addStretch(1);
    right->addWidget(fittings);

    auto* careful = new QGroupBox(qs(texts::kCarefulGroup));
    auto* cl = new QGridLayout(careful);
    cl->addWidget(button("resetAll", texts::kResetAll), 0, 0);
    cl->addWidget(button("folderSettings", texts::kFolderSettings), 0, 1);
    cl->addWidget(button("transferImport", texts::kTransferImport), 1, 0);
    cl->addWidget(button("transferExport", texts::kTransferExport), 1, 1);
    cl->addWidget(button("purgeTemp", texts::kPurgeTempPictures), 2, 0, 1, 2);
    right->addWidget(careful);
    right->addStretch(1);

    // Edits and boxes go straight into the form.
    GeneralSettingsPage* self = this;
    auto text = [self](const char* name, std::string GeneralPageForm::*member) {
        connect(control<QLineEdit>(self, name), &QLineEdit::textChanged, self,
                [self, member](const QString& t) { self->m_form.*member = t.toStdString(); });
    };
    text("movex", &GeneralPageForm::moveX);
    text("movey", &GeneralPageForm::moveY);
    text("imagew", &GeneralPageForm::pictureWidth);
    text("imageh", &GeneralPageForm::pictureHeight);
    text("config_formatpath", &GeneralPageForm::formatPath);
    text("gazou_jpeg_atu", &GeneralPageForm::jpegQuality);
    text("gazou_size_w", &GeneralPageForm::sizeWidth);
    text("gazou_size_h", &GeneralPageForm::sizeHeight);
    auto check = [self](const char* name, int GeneralPageForm::*member) {
        connect(control<QCheckBox>(self, name), &QCheckBox::clicked, self, [self, member](bool on) {
            self->m_form.*member = on ? 1 : 0;
            self->sync();
        });
    };
    check("config_format", &GeneralPageForm::formatUse);
    check("gazou_size", &GeneralPageForm::sizeGiven);
    check("app_gazou_justsize", &GeneralPageForm::exactSize);
    check("app_gazoubai", &GeneralPageForm::doubleSize);
    check("gazou_toukagif", &GeneralPageForm::transparentPng);
    check("gazou_zidousave", &GeneralPageForm::autoSave);
    // A radio sets the value it stands for, also when it was already the checked one.
    connect(loading, &QButtonGroup::idClicked, this, [this](int id) { m_form.pictureLoading = id; });
    connect(wallGroup, &QButtonGroup::idClicked, this, [this](int id) { m_form.wallMode = id; });
    connect(fittingGroup, &QButtonGroup::idClicked, this, [this](int id) { m_form.fittings3x5 = id; });

    auto on = [self](const char* name, auto handler) {
        connect(control<QPushButton>(self, name), &QPushButton::clicked, self, handler);
    };
    on("wallColour", [this] {
        if (m_form.ChooseWallColour()) sync();
    });
    on("formatBrowse", [this] {
        if (m_form.BrowseFormatFile()) sync();
    });
    on("dimensions", [this] {
        CSunpoSetDlg dlg(m_form.dimensions, DimensionFontNames(), this);
        if (dlg.exec() == QDialog::Accepted) m_form.dimensions = dlg.style();
    });
    on("lineTypes", [this] {
        CLinePichDlg dlg(m_form.plot.m_LinePichTable, this);
        if (dlg.exec() == QDialog::Accepted) m_form.plot.m_LinePichTable = dlg.form().table;
    });
    on("lineEnds", [this] {
        CKeijyouPichDg dlg(m_form.StoredLineEndSizes(), this);
        if (dlg.exec() == QDialog::Accepted) m_form.TakeLineEndSizes(dlg.form().sizes);
    });
    on("lineWidths", [this] {
        CLineWideSetDg dlg(m_form.plot, this);
        if (dlg.exec() == QDialog::Accepted) dlg.CopyTo(m_form.plot);
    });
    on("screenColour", [this] {
        CHaikeiColorSetDg dlg(m_form.StoredBackgroundSwitch(), m_form.StoredBackgroundColour(), *m_services.questions,
                              this);
        if (dlg.exec() == QDialog::Accepted) m_form.TakeBackground(dlg.form().own, dlg.form().colour);
    });
    on("partsOrder", [this] {
        if (m_services.partsFolderOrder) m_services.partsFolderOrder(m_form.plot.m_strDataPath);
    });
    on("autoDetails", [this] {
        CGazouAutoSaveSetDg dlg(m_form.StoredAutoSave(),
                                [this](const std::filesystem::path& start) -> std::optional<std::filesystem::path> {
                                    const std::string chosen = BrowseForFolder(*m_services.questions, start.string());
                                    if (chosen == start.string()) return std::nullopt;
                                    return std::filesystem::path(chosen);
                                },
                                this);
        if (dlg.exec() == QDialog::Accepted) m_form.TakeAutoSave(dlg.values());
    });
    on("resetAll", [this] {
        if (m_form.ConfirmReset() && onResetConfirmed) onResetConfirmed();
    });
    on("folderSettings", [this] {
        if (!m_form.ConfirmFolderSettings()) return;
        CPathSetDg dlg(*m_services.profile, *m_services.questions, m_services.folders.userData, this);
        dlg.exec();
    });
    on("transferImport", [this] {
        COldConvDlg dlg(m_services, this);
        dlg.exec();
    });
    on("transferExport", [this] { ExportTransferFolder(m_services); });
    on("purgeTemp", [this] { m_form.PurgeTempPictures(); });
    sync();
}

void GeneralSettingsPage::sync()
{
    const GeneralPageForm& f = m_form;
    auto setText = [this](const char* name, const std::string& value) {
        auto* e = control<QLineEdit>(this, name);
        if (e->text().toStdString() != value) e->setText(qs(value));
    };
    setText("movex", f.moveX);
    setText("movey", f.moveY);
    setText("imagew", f.pictureWidth);
    setText("imageh", f.pictureHeight);
    setText("config_formatpath", f.formatPath);
    setText("gazou_jpeg_atu", f.jpegQuality);
    setText("gazou_size_w", f.sizeWidth);
    setText("gazou_size_h", f.sizeHeight);
    for (const auto& [name, value] :
         {std::pair{"config_format", f.formatUse}, std::pair{"gazou_size", f.sizeGiven},
          std::pair{"app_gazou_justsize", f.exactSize}, std::pair{"app_gazoubai", f.doubleSize},
          std::pair{"gazou_toukagif", f.transparentPng}, std::pair{"gazou_zidousave", f.autoSave}})
        control<QCheckBox>(this, name)->setChecked(value != 0);
    for (int i = 0; i < 3; ++i)
        control<QRadioButton>(this, ("config_gazouchoise" + std::to_string(i)).c_str())->setChecked(f.pictureLoading == i);
    for (int mode : {0, 1, 3, 4}) control<QPushButton>(this, ("wall" + std::to_string(mode)).c_str())->setChecked(f.wallMode == mode);
    control<QRadioButton>(this, f.fittings3x5 ? "tategu_hyouzi_kazu1" : "tategu_hyouzi_kazu0")->setChecked(true);
    control<QCheckBox>(this, "app_gazoubai")->setEnabled(f.doubleSizeEnabled());
    control<QPushButton>(this, "autoDetails")->setEnabled(f.autoDetailsEnabled());
    ui::paintSample(control<QLabel>(this, "wallSample"), f.plot.PlotWallColor);
    control<QPushButton>(this, "partsOrder")->setEnabled(static_cast<bool>(m_services.partsFolderOrder));
}

} // namespace kov::dialogs

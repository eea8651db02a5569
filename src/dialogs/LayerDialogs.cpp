#include "dialogs/LayerDialogs.h"

#include "dialogs/ModalRun.h"
#include "dialogs/PropertyTexts.h"
#include "model/PaperSizes.h"
#include "model/SelectionRecord.h"
#include "platform/PainterSurface.h"
#include "render/DrawEnvironment.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include <cstdio>

namespace kov::dialogs {

namespace {

namespace pt = proptext;
namespace pf = kov::platform;

QString qs(const char* s) { return QString::fromUtf8(s); }
QString qs(const std::string& s) { return QString::fromStdString(s); }

QDialogButtonBox* okCancel(QDialog* dialog, const char* cancelText)
{
    auto* buttons = new QDialogButtonBox;
    buttons->addButton(qs(pt::kOk), QDialogButtonBox::AcceptRole)->setObjectName(QStringLiteral("ok"));
    buttons->addButton(qs(cancelText), QDialogButtonBox::RejectRole)->setObjectName(QStringLiteral("cancel"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

} // namespace

// -- layer change ---------------------------------------------------------------------------------------

LayerChangeForm::LayerChangeForm(int mode, int currentGroup) : mode(mode)
{
    const int index = currentGroup >= 0 && currentGroup < kLayers ? currentGroup : -1;
    sourceIndex = mode == SelectLayer ? -1 : index;
    targetIndex = index;
}

std::string LayerChangeForm::title() const
{
    switch (mode) {
    case ChangeSelection: return pt::kLayerChangeSelection;
    case MoveMerge: return pt::kLayerMoveMerge;
    case CopyMerge: return pt::kLayerCopyMerge;
    default: return pt::kLayerSelectAll;
    }
}

std::string LayerChangeForm::sourceLabel() const { return mode == SelectLayer ? "" : pt::kSourceLayer; }
std::string LayerChangeForm::arrowText() const { return mode == SelectLayer ? "" : pt::kArrowDown; }
std::string LayerChangeForm::keepText() const { return mode == ChangeSelection ? pt::kKeepOnSource : ""; }

std::string LayerChangeForm::targetLabel() const
{
    switch (mode) {
    case ChangeSelection: return pt::kChangedLayer;
    case SelectLayer: return pt::kChosenLayer;
    default: return pt::kMergedLayer;
    }
}

void LayerChangeForm::Accept()
{
    source = sourceIndex >= 0 && sourceIndex < kLayers ? sourceIndex : -1;
    target = targetIndex >= 0 && targetIndex < kLayers ? targetIndex : -1;
    keep = mode == ChangeSelection && keepChecked ? 1 : 0;
}

CLayerChangeDlg::CLayerChangeDlg(int mode, int currentGroup, QWidget* parent)
    : QDialog(parent), m_form(mode, currentGroup)
{
    setObjectName(QStringLiteral("layerChange"));
    setWindowTitle(qs(m_form.title()));
    auto* layout = new QGridLayout(this);
    auto* sourceLabel = new QLabel(qs(m_form.sourceLabel()));
    m_source = new QComboBox;
    m_source->setObjectName(QStringLiteral("source"));
    auto* arrow = new QLabel(qs(m_form.arrowText()));
    arrow->setAlignment(Qt::AlignCenter);
    auto* targetLabel = new QLabel(qs(m_form.targetLabel()));
    m_target = new QComboBox;
    m_target->setObjectName(QStringLiteral("target"));
    for (QComboBox* list : {m_source, m_target})
        for (int i = 0; i < LayerChangeForm::kLayers; ++i) list->addItem(QString::number(i));
    m_source->setCurrentIndex(m_form.sourceIndex);
    m_source->setEnabled(m_form.sourceEnabled());
    m_target->setCurrentIndex(m_form.targetIndex);
    m_keep = new QCheckBox(qs(m_form.keepText()));
    m_keep->setObjectName(QStringLiteral("keep"));
    m_keep->setEnabled(m_form.keepEnabled());
    layout->addWidget(sourceLabel, 0, 0);
    layout->addWidget(m_source, 0, 1);
    layout->addWidget(arrow, 1, 1);
    layout->addWidget(targetLabel, 2, 0);
    layout->addWidget(m_target, 2, 1);
    layout->addWidget(m_keep, 3, 0, 1, 2);
    layout->addWidget(okCancel(this, pt::kCancelNarrow), 4, 0, 1, 2);
    setMinimumWidth(260);
}

void CLayerChangeDlg::accept()
{
    m_form.sourceIndex = m_source->currentIndex();
    m_form.targetIndex = m_target->currentIndex();
    m_form.keepChecked = m_keep->isChecked();
    m_form.Accept();
    QDialog::accept();
}

std::optional<LayerChangeResult> AskLayerChange(int mode, int currentGroup, QWidget* parent)
{
    CLayerChangeDlg dialog(mode, currentGroup, parent);
    if (RunModal(dialog) != QDialog::Accepted) return std::nullopt;
    return LayerChangeResult{dialog.form().source, dialog.form().target, dialog.form().keep};
}

// -- layer list -----------------------------------------------------------------------------------------

int LayerListForm::state(int layer) const
{
    if (layer < 0 || layer >= CLayer::kUsed) return CLayerInfo::LAYER_SNAP;
    return plot.m_Layer.m_GrpLayerInfo[static_cast<std::size_t>(layer)].m_nType;
}

std::string LayerListForm::StateText(int state)
{
    return state >= 0 && state < static_cast<int>(pt::kLayerStates.size())
               ? pt::kLayerStates[static_cast<std::size_t>(state)] : "";
}

void LayerListForm::Choose(int layer)
{
    if (layer < 0 || layer >= kLayers) return;
    plot.m_Layer.m_nCurrentGroup = layer;
    plot.m_Layer.m_GrpLayerInfo[static_cast<std::size_t>(layer)].m_nType = CLayerInfo::LAYER_SNAP;
}

void LayerListForm::CycleState(int layer)
{
    if (layer < 0 || layer >= kLayers) return;
    int& t = plot.m_Layer.m_GrpLayerInfo[static_cast<std::size_t>(layer)].m_nType;
    t = t == 0 ? 1 : t == 1 ? 2 : 0;
}

void LayerListForm::ToggleAll()
{
    for (int g = 0; g < kLayers; ++g)
        plot.m_Layer.m_GrpLayerInfo[static_cast<std::size_t>(g)].m_nType = g == current() ? 0 : allCounter % 3;
    ++allCounter;
}

void LayerListForm::ChooseMagnification(int index)
{
    if (index >= 0 && index < static_cast<int>(kMagnifications.size()))
        magnification = kMagnifications[static_cast<std::size_t>(index)];
}

QImage LayerListForm::Thumbnail(const CKovUnit& unit, int layer, int side, const CKovUnit::DrawEnvironment& env) const
{
    QImage image(side, side, QImage::Format_RGB32);
    image.fill(state(layer) == CLayerInfo::LAYER_HIDDEN ? QColor(215, 215, 215) : QColor(Qt::white));
    if (side <= 0 || layer < 0 || layer >= kLayers) return image;
    // Only layer 0 of this layer group shows among the three; the groups above keep their states.
    CPlotInfo shown = plot;
    for (int g = 0; g < kLayers; ++g) {
        const auto sg = static_cast<std::size_t>(g);
        for (auto& info : shown.m_Layer.m_LayerInfo[sg]) info.m_nType = CLayerInfo::LAYER_HIDDEN;
        shown.m_Layer.m_GrpLayerInfo[sg].m_nType = g == layer ? CLayerInfo::LAYER_SNAP : CLayerInfo::LAYER_HIDDEN;
    }
    shown.m_Layer.m_LayerInfo[static_cast<std::size_t>(layer)][0].m_nType = CLayerInfo::LAYER_SNAP;
    int paperW = 0, paperH = 0;
    kov::model::GetPaperSizeMm(plot, paperW, paperH);
    if (paperW > 0) {
        const double s = static_cast<double>(side) / paperW * magnification;
        DeviceTransform t;
        t.originX = side / 2;
        t.originY = side / 2;
        for (int k = 0; k < DeviceTransform::kLayerGroups; ++k) {
            const double scale = plot.m_Layer.m_dScale[static_cast<std::size_t>(k)];
            const double perMm = scale > 0 ? s / scale : s;
            t.scaleX[static_cast<std::size_t>(k)] = t.scaleY[static_cast<std::size_t>(k)] = perMm;
        }
        t.paperScale = s;
        t.zoom = 1.0;
        // A scratch copy: drawing pictures records where they went, and the drawing is only read here.
        CKovUnit scratch;
        scratch.CopyFrom(unit);
        CKovUnit::DrawEnvironment drawEnv = env;
        pf::PainterSurface dc(image);
        scratch.DrawAllByLayer(dc, t, shown, SelectionRecord(), false, false, drawEnv);
    }
    if (layer == current()) {
        pf::PainterSurface dc(image);
        const pf::Pen red{pf::PenStyle::Solid, 1, 0x0000FF};
        for (int i = 0; i < 2; ++i)
            dc.rectangle({i, i, side - i, side - i}, red, pf::Brush::null());
    }
    return image;
}

void LayerListForm::ApplyTo(CPlotInfo& document) const
{
    CLayer& l = document.m_Layer;
    l.m_nCurrentGroup = current();
    for (int g = 0; g < kLayers; ++g)
        l.m_GrpLayerInfo[static_cast<std::size_t>(g)].m_nType =
            plot.m_Layer.m_GrpLayerInfo[static_cast<std::size_t>(g)].m_nType;
    if (current() >= 0 && current() < CLayer::kUsed) {
        l.m_GrpLayerInfo[static_cast<std::size_t>(current())].m_nType = CLayerInfo::LAYER_SNAP;
        l.m_LayerInfo[static_cast<std::size_t>(current())][0].m_nType = CLayerInfo::LAYER_SNAP;
    }
}

CLayerItiranDg::CLayerItiranDg(const CPlotInfo& plot, const CKovUnit& unit, const CKovUnit::DrawEnvironment& env,
                               QWidget* parent)
    : QDialog(parent), m_form(plot), m_unit(unit), m_env(env)
{
    setObjectName(QStringLiteral("layerList"));
    setWindowTitle(qs(pt::kLayerListTitle));
    constexpr int kSide = 200;
    auto* layout = new QVBoxLayout(this);
    auto* head = new QHBoxLayout;
    head->addWidget(new QLabel(qs(pt::kLayerListCaption)));
    head->addStretch(1);
    auto* all = new QPushButton(qs(pt::kShowAllToggle));
    all->setObjectName(QStringLiteral("showAll"));
    head->addWidget(all);
    head->addWidget(new QLabel(qs(pt::kMagnificationLabel)));
    auto* zoom = new QComboBox;
    zoom->setObjectName(QStringLiteral("magnification"));
    for (const char* m : pt::kMagnifications) zoom->addItem(qs(m));
    zoom->setCurrentIndex(LayerListForm::kInitialMagnification);
    head->addWidget(zoom);
    head->addWidget(new QLabel(qs(pt::kTimes)));
    layout->addLayout(head);
    auto* grid = new QGridLayout;
    for (int g = 0; g < LayerListForm::kLayers; ++g) {
        auto* picture = new QLabel;
        picture->setObjectName(QStringLiteral("thumbnail%1").arg(g));
        picture->setFixedSize(kSide, kSide);
        picture->setFrameShape(QFrame::Box);
        picture->installEventFilter(this);
        m_thumbnails[static_cast<std::size_t>(g)] = picture;
        grid->addWidget(picture, 0, 2 * g, 1, 2);
        grid->addWidget(new QLabel(QString::number(g)), 1, 2 * g);
        auto* state = new QPushButton;
        state->setObjectName(QStringLiteral("state%1").arg(g));
        m_states[static_cast<std::size_t>(g)] = state;
        grid->addWidget(state, 1, 2 * g + 1);
        connect(state, &QPushButton::clicked, this, [this, g] {
            m_form.CycleState(g);
            Sync();
        });
    }
    layout->addLayout(grid);
    layout->addWidget(okCancel(this, pt::kCancel));
    connect(all, &QPushButton::clicked, this, [this] {
        m_form.ToggleAll();
        Sync();
    });
    connect(zoom, &QComboBox::activated, this, [this](int i) {
        m_form.ChooseMagnification(i);
        Sync();
    });
    Sync();
}

void CLayerItiranDg::Sync()
{
    for (int g = 0; g < LayerListForm::kLayers; ++g) {
        const auto sg = static_cast<std::size_t>(g);
        m_states[sg]->setText(qs(LayerListForm::StateText(m_form.state(g))));
        QLabel* picture = m_thumbnails[sg];
        picture->setPixmap(QPixmap::fromImage(m_form.Thumbnail(m_unit, g, picture->width(), m_env)));
    }
}

bool CLayerItiranDg::eventFilter(QObject* watched, QEvent* event)
{
    const bool press = event->type() == QEvent::MouseButtonPress;
    const bool twice = event->type() == QEvent::MouseButtonDblClick;
    if ((press || twice) && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        for (int g = 0; g < LayerListForm::kLayers; ++g)
            if (watched == m_thumbnails[static_cast<std::size_t>(g)]) {
                m_form.Choose(g);
                Sync();
                if (twice) accept();
                return true;
            }
    }
    return QDialog::eventFilter(watched, event);
}

// -- layer name -----------------------------------------------------------------------------------------

LayerNameForm::LayerNameForm(const CPlotInfo& plot)
{
    group = plot.m_Layer.m_nCurrentGroup;
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, pt::kLayerNamePrompt, group);
    prompt = buffer;
    if (group >= 0 && group < CLayer::kRecords) name = plot.m_Layer.m_GrpLayerInfo[static_cast<std::size_t>(group)].m_strName;
}

void LayerNameForm::ApplyTo(CPlotInfo& plot) const
{
    if (group < 0 || group >= CLayer::kRecords) return;
    plot.m_Layer.m_GrpLayerInfo[static_cast<std::size_t>(group)].m_strName = name;
}

CLayerNameDlg::CLayerNameDlg(const CPlotInfo& plot, QWidget* parent) : QDialog(parent), m_form(plot)
{
    setObjectName(QStringLiteral("layerName"));
    setWindowTitle(qs(pt::kLayerNameTitle));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(qs(m_form.prompt)));
    m_edit = new QLineEdit(qs(m_form.name));
    m_edit->setObjectName(QStringLiteral("name"));
    layout->addWidget(m_edit);
    layout->addWidget(okCancel(this, pt::kCancel));
    setMinimumWidth(300);
}

void CLayerNameDlg::accept()
{
    m_form.name = m_edit->text().toStdString();
    QDialog::accept();
}

} // namespace kov::dialogs

#include "dialogs/NotationSymbolDialog.h"

#include "building/PartFiles.h"
#include "dialogs/LibraryThumbnails.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "platform/NumberText.h"
#include "platform/PainterSurface.h"
#include "tools/ToolMachine.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kov::dialogs {

namespace {

constexpr const char* kKindNames[] = {"地盤", "石材", "割ぐり", "砂利", "保温・吸音材", "断熱材", "畳", "コンクリート",
                                      "軽量壁", "軽量ブロック", "化粧材"};

// A sample of the symbol: its file drawn into the picture.
QPixmap sample(const std::filesystem::path& file, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    CKovUnit part;
    if (kov::building::ReadPartFile(file, part) == kov::building::PartRead::Read) {
        kov::platform::PainterSurface surface(image);
        CPlotInfo plot;
        DrawLibraryThumbnail(surface, part, plot, DeviceRect{0, 0, size.width(), size.height()}, 10);
    }
    part.RemoveAllObjects(CKovUnit::REMOVE_KEEP_PICTURE_FILES);
    return QPixmap::fromImage(image);
}

} // namespace

NotationSymbolForm::NotationSymbolForm(int heightFixed, double height)
    : m_bHeightFixed(heightFixed ? 1 : 0), m_dHeight(height), m_strHeight(kov::platform::formatFixed(height, 1))
{
}

void NotationSymbolForm::OnOK()
{
    if (!m_bHeightFixed) return;
    const double v = kov::platform::parseDouble(m_strHeight);
    if (v > 0) m_dHeight = v;
}

CHyoukiKigouDg::CHyoukiKigouDg(int heightFixed, double height, const std::filesystem::path& symbols, QWidget* parent)
    : QDialog(parent), m_form(heightFixed, height)
{
    setWindowTitle(QStringLiteral("表示記号"));
    auto* layout = new QVBoxLayout(this);
    auto* box = new QGroupBox(QStringLiteral("表示記号種類"));
    auto* grid = new QGridLayout(box);
    m_kinds = new QButtonGroup(this);
    for (int i = 0; i < 11; ++i) {
        auto* b = new QRadioButton(QString::fromUtf8(kKindNames[i]));
        m_kinds->addButton(b, i + 1);
        auto* picture = new QLabel;
        picture->setPixmap(sample(symbols / std::string(kov::tools::NotationSymbolFile(i + 1)), QSize(64, 40)));
        grid->addWidget(b, i / 2, (i % 2) * 2);
        grid->addWidget(picture, i / 2, (i % 2) * 2 + 1);
    }
    m_kinds->button(1)->setChecked(true);
    layout->addWidget(box);
    auto* row = new QHBoxLayout;
    m_fixed = new QCheckBox(QStringLiteral("高さ固定"));
    m_fixed->setChecked(m_form.m_bHeightFixed != 0);
    m_height = new QLineEdit(QString::fromStdString(m_form.m_strHeight));
    m_height->setEnabled(m_form.HeightEnabled());
    row->addWidget(m_fixed);
    row->addWidget(m_height);
    row->addWidget(new QLabel(QStringLiteral("mm")));
    layout->addLayout(row);
    auto* buttons = new QDialogButtonBox;
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_fixed, &QCheckBox::toggled, this, [this](bool on) {
        m_form.m_bHeightFixed = on ? 1 : 0;
        m_height->setEnabled(on);
    });
    connect(this, &QDialog::accepted, this, [this] {
        m_form.m_nKind = m_kinds->checkedId() > 0 ? m_kinds->checkedId() : 1;
        m_form.m_strHeight = m_height->text().toStdString();
        m_form.OnOK();
    });
}

} // namespace kov::dialogs

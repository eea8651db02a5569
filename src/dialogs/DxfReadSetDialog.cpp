#include "dialogs/DxfReadSetDialog.h"

#include "io/DxfTexts.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kov::dialogs {

namespace {
QString qs(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }
} // namespace

DxfReadSetDialog::DxfReadSetDialog(QWidget* parent) : QDialog(parent)
{
    namespace t = kov::io::dxftext;
    setWindowTitle(qs(t::kOptionsCaption));
    m_keepPaper = new QCheckBox(qs(t::kKeepPaperLabel), this);
    m_keepScale = new QCheckBox(qs(t::kKeepScaleLabel), this);
    auto* note = new QLabel(qs(t::kLayerZeroNote), this);
    m_ok = new QPushButton(qs(t::kOk), this);
    auto* cancel = new QPushButton(qs(t::kCancel), this);
    m_ok->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_keepPaper);
    layout->addWidget(m_keepScale);
    layout->addWidget(note);
    layout->addLayout(buttons);

    m_form.OnInitDialog();
    m_keepPaper->setChecked(m_form.keepPaperChecked);
    m_keepScale->setChecked(m_form.keepScaleChecked);
    connect(m_keepPaper, &QCheckBox::clicked, this, [this] {
        m_form.OnKeepPaperClicked();
        m_keepPaper->setChecked(m_form.keepPaperChecked);
    });
    connect(m_keepScale, &QCheckBox::clicked, this, [this] {
        m_form.OnKeepScaleClicked();
        m_keepScale->setChecked(m_form.keepScaleChecked);
    });
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void DxfReadSetDialog::accept()
{
    m_form.OnOK();
    QDialog::accept();
}

bool DxfReadSetDialog::Ask(QWidget* parent, kov::io::DxfReadOptions& options)
{
    DxfReadSetDialog dialog(parent);
    if (dialog.exec() != QDialog::Accepted) return false;
    options = dialog.form().options;
    return true;
}

} // namespace kov::dialogs

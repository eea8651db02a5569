#include "dialogs/PaperDialogs.h"

#include "io/PrintTexts.h"
#include "platform/Questions.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kov::dialogs {

namespace t = kov::io::printtext;

namespace {

QString qs(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

QString qs(const std::string& s) { return QString::fromStdString(s); }

// Room for a signed five-digit number of millimetres.
QLineEdit* numberEdit(const std::string& text, QWidget* parent)
{
    auto* edit = new QLineEdit(qs(text), parent);
    edit->setMaximumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("-000000")) + 16);
    return edit;
}

// OK (the default button) and cancel at the bottom right.
QPushButton* addButtons(QDialog* dialog, QBoxLayout* layout, std::string_view cancelText)
{
    auto* ok = new QPushButton(qs(t::kOk), dialog);
    auto* cancel = new QPushButton(qs(cancelText), dialog);
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(ok);
    row->addWidget(cancel);
    layout->addLayout(row);
    return ok;
}

} // namespace

// -- user paper ----------------------------------------------------------------------------------

PaperUserDialog::PaperUserDialog(int width, int height, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(qs(t::kPaperUserCaption));
    m_form.width = width;
    m_form.height = height;
    m_form.OnInitDialog();
    m_width = numberEdit(m_form.widthText, this);
    m_height = numberEdit(m_form.heightText, this);
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(qs(t::kWidthLabel), this), 0, 0);
    grid->addWidget(m_width, 0, 1);
    grid->addWidget(new QLabel(qs(t::kRealSizeUnit), this), 0, 2);
    grid->addWidget(new QLabel(qs(t::kHeightLabel), this), 1, 0);
    grid->addWidget(m_height, 1, 1);
    grid->addWidget(new QLabel(qs(t::kRealSizeUnit), this), 1, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    m_ok = addButtons(this, layout, t::kCancelNarrow);
}

void PaperUserDialog::accept()
{
    m_form.widthText = m_width->text().toStdString();
    m_form.heightText = m_height->text().toStdString();
    m_form.OnOK();
    QDialog::accept();
}

bool PaperUserDialog::Ask(QWidget* parent, int& width, int& height)
{
    PaperUserDialog dialog(width, height, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    width = dialog.form().width;
    height = dialog.form().height;
    return true;
}

// -- paper ---------------------------------------------------------------------------------------

PageSetDialog::PageSetDialog(const kov::io::PageSetForm& values, kov::platform::Questions& questions,
                             QWidget* parent, kov::io::PageSetForm::UserSizeAsker askUserSize)
    : QDialog(parent), m_form(values), m_questions(questions), m_askUserSize(std::move(askUserSize))
{
    setWindowTitle(qs(t::kPageSetCaption));
    if (!m_askUserSize)
        m_askUserSize = [this](int& w, int& h) { return PaperUserDialog::Ask(this, w, h); };
    m_form.OnInitDialog();

    m_list = new QComboBox(this);
    m_list->setMinimumContentsLength(8);
    for (const kov::io::PaperEntry& e : kov::io::kPaperEntries)
        m_list->addItem(qs(e.label));
    m_list->setCurrentIndex(m_form.selection);
    m_portrait = new QRadioButton(qs(t::kPortrait), this);
    m_landscape = new QRadioButton(qs(t::kLandscape), this);
    auto* orientation = new QButtonGroup(this);
    orientation->addButton(m_portrait);
    orientation->addButton(m_landscape);
    (m_form.portrait ? m_portrait : m_landscape)->setChecked(true);

    // Every choice of the user entry asks for the size, so it can be changed again.
    connect(m_list, &QComboBox::activated, this, [this](int index) {
        m_form.OnSelChange(index, m_askUserSize);
        m_list->setCurrentIndex(m_form.selection);
    });
    connect(m_portrait, &QRadioButton::clicked, this, [this] { m_form.OnPortrait(); });
    connect(m_landscape, &QRadioButton::clicked, this, [this] { m_form.OnLandscape(); });

    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(qs(t::kPaperSizeLabel), this));
    row->addWidget(m_list, 1);
    row->addWidget(m_portrait);
    row->addWidget(m_landscape);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    m_ok = addButtons(this, layout, t::kCancel);
}

void PageSetDialog::accept()
{
    if (!m_form.OnOK()) {
        m_questions.message(m_form.refusal, t::kPageSetCaption, kov::platform::MessageIcon::Warning);
        return;
    }
    QDialog::accept();
}

bool PageSetDialog::Ask(QWidget* parent, kov::platform::Questions& questions, int& paperCode, int& userWidth,
                        int& userHeight)
{
    kov::io::PageSetForm values;
    values.paperCode = paperCode;
    values.userWidth = userWidth;
    values.userHeight = userHeight;
    PageSetDialog dialog(values, questions, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    paperCode = dialog.form().paperCode;
    userWidth = dialog.form().userWidth;
    userHeight = dialog.form().userHeight;
    return true;
}

// -- print position ------------------------------------------------------------------------------

PrintmoveDialog::PrintmoveDialog(int moveX, int moveY, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(qs(t::kPrintmoveCaption));
    m_form.moveX = moveX;
    m_form.moveY = moveY;
    m_form.OnInitDialog();
    m_x = numberEdit(m_form.xText, this);
    m_y = numberEdit(m_form.yText, this);
    m_left = new QRadioButton(qs(t::kLeft), this);
    m_right = new QRadioButton(qs(t::kRight), this);
    m_up = new QRadioButton(qs(t::kUp), this);
    m_down = new QRadioButton(qs(t::kDown), this);
    auto* horizontal = new QButtonGroup(this);
    horizontal->addButton(m_left);
    horizontal->addButton(m_right);
    auto* vertical = new QButtonGroup(this);
    vertical->addButton(m_up);
    vertical->addButton(m_down);
    (m_form.left ? m_left : m_right)->setChecked(true);
    (m_form.up ? m_up : m_down)->setChecked(true);

    auto* grid = new QGridLayout;
    auto addRow = [&](int row, QLineEdit* edit, std::string_view unit, QRadioButton* a, QRadioButton* b) {
        grid->addWidget(edit, row, 0);
        grid->addWidget(new QLabel(qs(unit), this), row, 1);
        grid->addWidget(a, row, 2);
        grid->addWidget(b, row, 3);
        grid->addWidget(new QLabel(qs(t::kDirectionSuffix), this), row, 4);
    };
    addRow(0, m_x, t::kWholeMmUnitX, m_left, m_right);
    addRow(1, m_y, t::kWholeMmUnitY, m_up, m_down);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(new QLabel(qs(t::kPrintmoveNote), this));
    m_ok = addButtons(this, layout, t::kCancel);
}

void PrintmoveDialog::accept()
{
    m_form.xText = m_x->text().toStdString();
    m_form.yText = m_y->text().toStdString();
    m_form.left = m_left->isChecked();
    m_form.up = m_up->isChecked();
    m_form.OnOK();
    QDialog::accept();
}

bool PrintmoveDialog::Ask(QWidget* parent, int& moveX, int& moveY)
{
    PrintmoveDialog dialog(moveX, moveY, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    moveX = dialog.form().moveX;
    moveY = dialog.form().moveY;
    return true;
}

} // namespace kov::dialogs

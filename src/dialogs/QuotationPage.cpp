#include "dialogs/QuotationPage.h"

#include "dialogs/SettingsServices.h"
#include "dialogs/SettingsTexts.h"
#include "dialogs/SettingsWidgets.h"
#include "model/QuotationList.h"
#include "platform/Cp932.h"
#include "platform/Questions.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace kov::dialogs {

using ui::control;
using ui::named;
using ui::qs;

std::filesystem::path QuotationPageForm::file() const { return m_services.folders.quotationListFile(m_services.switches()); }

void QuotationPageForm::OnInitDialog()
{
    list = kov::model::ReadQuotationFile(file());
    selected = list.empty() ? -1 : 0;
}

bool QuotationPageForm::storable() const
{
    if (kov::platform::toCp932(edit).replaced == 0) return true;
    m_services.questions->message(texts::kQuotationNotCp932, {}, kov::platform::MessageIcon::Warning);
    return false;
}

bool QuotationPageForm::Add()
{
    if (edit.empty() || !storable()) return false;
    list.push_back(edit);
    return true;
}

bool QuotationPageForm::Insert()
{
    if (selected < 0 || selected >= static_cast<int>(list.size()) || edit.empty() || !storable()) return false;
    list.insert(list.begin() + selected, edit);
    ++selected; // the selection stays on the quotation it was on
    return true;
}

bool QuotationPageForm::Delete()
{
    if (selected < 0 || selected >= static_cast<int>(list.size())) return false;
    list.erase(list.begin() + selected);
    selected = -1;
    return true;
}

void QuotationPageForm::OnOK() const
{
    std::string error;
    if (!kov::model::WriteQuotationFile(file(), list, &error))
        m_services.questions->message(std::string(texts::kQuotationFileFailed) + "\n" + error, {},
                                      kov::platform::MessageIcon::Warning);
}

QuotationSettingsPage::QuotationSettingsPage(QuotationPageForm& form, QWidget* parent) : QWidget(parent), m_form(form)
{
    auto* layout = new QVBoxLayout(this);
    auto* list = named(new QListWidget, "list");
    layout->addWidget(list, 1);
    auto* edit = named(new QLineEdit, "edit");
    layout->addWidget(edit);
    auto* row = new QHBoxLayout;
    for (const auto& [name, caption] : {std::pair{"add", texts::kAdd}, std::pair{"insert", texts::kInsert},
                                        std::pair{"delete", texts::kDelete}})
        row->addWidget(named(new QPushButton(qs(caption)), name));
    row->addStretch(1);
    layout->addLayout(row);
    connect(list, &QListWidget::currentRowChanged, this, [this](int r) { m_form.selected = r; });
    connect(edit, &QLineEdit::textChanged, this, [this](const QString& t) { m_form.edit = t.toStdString(); });
    connect(control<QPushButton>(this, "add"), &QPushButton::clicked, this, [this] {
        if (m_form.Add()) sync();
    });
    connect(control<QPushButton>(this, "insert"), &QPushButton::clicked, this, [this] {
        if (m_form.Insert()) sync();
    });
    connect(control<QPushButton>(this, "delete"), &QPushButton::clicked, this, [this] {
        if (m_form.Delete()) sync();
    });
    sync();
}

void QuotationSettingsPage::sync()
{
    auto* list = control<QListWidget>(this, "list");
    const int selected = m_form.selected;
    const QSignalBlocker block(list);
    list->clear();
    for (const std::string& q : m_form.list) list->addItem(qs(q));
    list->setCurrentRow(selected);
}

} // namespace kov::dialogs

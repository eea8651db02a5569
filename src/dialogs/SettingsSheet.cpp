#include "dialogs/SettingsSheet.h"

#include "dialogs/SettingsServices.h"
#include "dialogs/SettingsTexts.h"
#include "dialogs/SettingsWidgets.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace kov::dialogs {

using ui::named;
using ui::qs;

SettingsSheetForm::SettingsSheetForm(const SettingsServices& s)
    : general(s), grid(s), display(s), operation(s), quotations(s), rooms(s)
{
}

void SettingsSheetForm::Load(const CPlotInfo& plot, const CGrid& g, const CFontMenu& roomFont)
{
    general.plot = plot;
    grid.grid = g;
    rooms.buffer.m_Font = roomFont;
    m_visited.fill(false);
    Visit(General);
}

bool SettingsSheetForm::Visit(int tab)
{
    if (tab < 0 || tab >= kTabs || m_visited[static_cast<std::size_t>(tab)]) return false;
    m_visited[static_cast<std::size_t>(tab)] = true;
    switch (tab) {
    case General: general.OnInitDialog(); break;
    case Grid: grid.OnInitDialog(); break;
    case Display: display.OnInitDialog(); break;
    case Operation: operation.OnInitDialog(); break;
    case Quotations: quotations.OnInitDialog(); break;
    case Rooms: rooms.OnInitDialog(); break;
    default: break;
    }
    return true;
}

void SettingsSheetForm::ApplyVisited()
{
    if (visited(General)) general.OnOK();
    if (visited(Grid)) grid.OnOK();
    if (visited(Display)) display.OnOK();
    if (visited(Operation)) operation.OnOK();
    if (visited(Quotations)) quotations.OnOK();
    if (visited(Rooms)) rooms.OnOK();
}

CPropSheet1::CPropSheet1(SettingsSheetForm& form, const SettingsServices& services, QWidget* parent)
    : QDialog(parent), m_form(form), m_services(services)
{
    setWindowTitle(qs(texts::kSheetTitle));
    auto* layout = new QVBoxLayout(this);
    m_tabs = named(new QTabWidget, "tabs");
    for (const char* caption : {texts::kTabGeneral, texts::kTabGrid, texts::kTabDisplay, texts::kTabOperation,
                                texts::kTabQuotations, texts::kTabRooms})
        m_tabs->addTab(new QWidget, qs(caption));
    layout->addWidget(m_tabs);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(qs(texts::kOk));
    buttons->button(QDialogButtonBox::Cancel)->setText(qs(texts::kCancel));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    pageShown(SettingsSheetForm::General);
    connect(m_tabs, &QTabWidget::currentChanged, this, [this](int tab) { pageShown(tab); });
}

void CPropSheet1::pageShown(int tab)
{
    QWidget* holder = m_tabs->widget(tab);
    if (!holder || holder->layout()) return;
    m_form.Visit(tab);
    QWidget* page = nullptr;
    switch (tab) {
    case SettingsSheetForm::General: {
        auto* general = new GeneralSettingsPage(m_form.general, m_services);
        general->onResetConfirmed = [this] {
            m_reset = true;
            QDialog::accept();
        };
        page = general;
        break;
    }
    case SettingsSheetForm::Grid: page = new GridSettingsPage(m_form.grid); break;
    case SettingsSheetForm::Display: page = new CheckSettingsPage(m_form.display); break;
    case SettingsSheetForm::Operation: page = new CheckSettingsPage(m_form.operation); break;
    case SettingsSheetForm::Quotations: page = new QuotationSettingsPage(m_form.quotations); break;
    case SettingsSheetForm::Rooms: page = new RoomSettingsPage(m_form.rooms); break;
    default: return;
    }
    page->setObjectName(QStringLiteral("page%1").arg(tab));
    auto* l = new QVBoxLayout(holder);
    l->setContentsMargins(0, 0, 0, 0);
    l->addWidget(page);
}

void CPropSheet1::showTab(int tab) { m_tabs->setCurrentIndex(tab); }

void CPropSheet1::accept()
{
    if (!m_reset) m_form.ApplyVisited();
    QDialog::accept();
}

} // namespace kov::dialogs

#pragma once

// The settings sheet "設定": six pages in tab order, each filled (its OnInitDialog) the first time
// it is shown. OK runs the OnOK of the pages that were shown, in tab order, and nothing of the
// others; Cancel runs none. The general page's reset ends the sheet with OK and no page's OnOK.

#include "dialogs/CheckSettingsPages.h"
#include "dialogs/GeneralSettingsPage.h"
#include "dialogs/GridSettingsPage.h"
#include "dialogs/QuotationPage.h"
#include "dialogs/RoomListPage.h"

#include <QDialog>

#include <array>

class QTabWidget;

namespace kov::dialogs {

struct SettingsServices;

class SettingsSheetForm {
public:
    enum Tab { General = 0, Grid, Display, Operation, Quotations, Rooms, kTabs };

    explicit SettingsSheetForm(const SettingsServices& services);

    GeneralPageForm general;
    GridPageForm grid;
    DisplayPageForm display;
    OperationPageForm operation;
    QuotationPageForm quotations;
    RoomPageForm rooms;

    // The working copies; the general page is shown at once.
    void Load(const CPlotInfo& plot, const CGrid& grid, const CFontMenu& roomFont);
    // A tab shown: its page's OnInitDialog the first time. True when that was now.
    bool Visit(int tab);
    bool visited(int tab) const { return tab >= 0 && tab < kTabs && m_visited[static_cast<std::size_t>(tab)]; }
    // OK: the OnOK of every page that was shown, in tab order.
    void ApplyVisited();
    bool resetRequested() const { return general.resetRequest != 0; }

private:
    std::array<bool, kTabs> m_visited{};
};

class CPropSheet1 : public QDialog {
public:
    CPropSheet1(SettingsSheetForm& form, const SettingsServices& services, QWidget* parent = nullptr);
    QTabWidget* tabs() const { return m_tabs; }
    // Shows a tab as a click on it does.
    void showTab(int tab);
    void accept() override;

private:
    void pageShown(int tab);
    SettingsSheetForm& m_form;
    const SettingsServices& m_services;
    QTabWidget* m_tabs = nullptr;
    bool m_reset = false;
};

} // namespace kov::dialogs

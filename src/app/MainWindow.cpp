#include "app/MainWindow.h"

#include "app/AppInfo.h"
#include "app/CommandIds.h"
#include "app/DxfCommands.h"
#include "app/ExchangeCommands.h"
#include "app/FileListDialogs.h"
#include "app/PrintCommands.h"
#include "app/PropertyCommands.h"
#include "app/SettingsCommand.h"
#include "app/FrameLogic.h"
#include "app/KoviraApp.h"
#include "app/KoviraDoc.h"
#include "app/KovView.h"
#include "app/Menus.h"
#include "app/VersionCheck.h"

#include "dialogs/DxfReadSetDialog.h"
#include "dialogs/GridConfDialog.h"
#include "dialogs/ToolPanelClosing.h"
#include "dialogs/PropertyTexts.h"
#include "io/PrintDialogs.h"
#include "model/KovUnit.h"
#include "platform/Clipboard.h"
#include "platform/Profile.h"
#include "platform/Questions.h"
#include "render/DrawEnvironment.h"
#include "render/Swatches.h"
#include "tools/ToolMachine.h"
#include "platform/PainterSurface.h"

#include <QActionGroup>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDockWidget>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QInputDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

#include <cctype>
#include <filesystem>
#include <memory>

namespace kov::app {

namespace {

using namespace cmd;

QString u(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

QIcon icon(std::string_view name)
{
    if (name.empty()) return {};
    QIcon i;
    i.addFile(QStringLiteral(":/icons/%1-16.png").arg(u(name)), QSize(16, 16));
    i.addFile(QStringLiteral(":/icons/%1-24.png").arg(u(name)), QSize(24, 24));
    return i;
}

constexpr const char* kScaleDialogTitle = "縮尺の変更";
constexpr const char* kScaleTextsToo = "文字も均等に縮尺を変える";

// The panel's icons: off and on.
struct PanelIcon {
    int command;
    const char* off;
    const char* on;
};
constexpr PanelIcon kPanelIcons[] = {
    {PanelSelect, "select", "select_on"},   {PanelWall, "wall", "wall_on"},
    {PanelText, "text", "text_on"},         {PanelDecoratedText, "decotext", "decotext_on"},
    {PanelPolygonRoom, "polyroom", "polyroom_on"}, {PanelRectRoom, "rectroom", "rectroom_on"},
    {PanelStairs, "stairs", "stairs_on"},   {PanelFittings, "fittings", "fittings"},
    {PanelParts, "parts", "parts"},
};

const PanelIcon* panelIcon(int command)
{
    for (const auto& p : kPanelIcons)
        if (p.command == command) return &p;
    return nullptr;
}

} // namespace

MainWindow::MainWindow(CKoviraDoc* document, QWidget* parent) : QMainWindow(parent), m_document(document)
{
    setObjectName(QStringLiteral("mainWindow"));
    kov::platform::Profile* p = profile();
    // The saved place, clamped to the screen.
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect avail = screen->availableGeometry();
        if (p) {
            const WindowRect r = RestoreWindowRect(*p, avail.width(), avail.height());
            setGeometry(r.x, r.y, r.width, r.height);
        } else {
            resize(1024, 720);
        }
    }
    const int dpi = p ? p->GetProfileInt(kSectionUtility, "app_dpiaware", 96) : 96;
    const int size = p ? p->GetProfileInt(kSectionUtility, "toolbuttonsize", 0) : 0;
    const bool large = LargeToolBars(size, dpi);

    if (m_document) {
        m_view = new CKoviraView(*m_document, CKoviraApp::Current(), this);
        setCentralWidget(m_view);
        m_view->viewport()->installEventFilter(this);
        m_view->installEventFilter(this);
        m_view->viewport()->setMouseTracking(true);
        m_view->onPrompt = [this](const QString& text) { SetStatusText(text.toStdString()); };
        m_view->onContextMenu = [this](const QPoint& global) { OpenContextMenu(global); };
        m_view->onToolPanelShown = [this](QWidget* panel, int kind) { KeepToolPanel(panel, kind); };
        m_view->onFittingsPalette = [this] { ShowFittingsPalette(); };
        m_view->onStylePanel = [this](QWidget* panel) { KeepStylePanel(panel); };
        m_view->onToolSample = [this] { DrawToolSample(); };
        connect(m_view, &CKoviraView::selectionTextChanged, this, [this](const QString& text) {
            if (m_panes[7]) m_panes[7]->setText(text);
            // After every drawing change: the panel shows the tool the machine is in.
            SyncToolPanel();
        });
        InstallExchangeHooks(*m_view, *m_document);
        // Every new or opened drawing: the view's first update, the panel set up, then the title.
        m_document->SetInitialUpdate([this](CKoviraDoc&) {
            m_view->OnInitialUpdate();
            InitToolPanel();
            // A new or opened drawing starts in select mode: the prompt of the tool before goes too.
            SetStatusText("選択モード");
            refreshTitle();
        });
    }
    buildActions();
    buildMenus();
    buildToolBars(large);
    buildStatusBar();
    buildToolPanel();
    buildLayerBar();
    buildRoutes();

    m_bDrawToolBarShown = p ? p->GetProfileInt(kSectionUtility, "zutool", 1) != 0 : 1;
    m_bGroupToolBarShown = p ? p->GetProfileInt(kSectionUtility, "grptool", 1) != 0 : 1;
    ShowToolBars();
    ShowCoordinates(0, 0, 0, 0, {});
    m_pToolDialog.fill(nullptr);
    if (p) {
        if (auto layout = TakeSavedBarLayout(*p)) restoreState(*layout);
    }
    if (m_document) {
        InitToolPanel();
        SetStatusText("選択モード");
    }

    // The idle refresh of the command states; menus refresh again when they open.
    auto* idle = new QTimer(this);
    idle->setInterval(250);
    connect(idle, &QTimer::timeout, this, &MainWindow::UpdateCommandStates);
    idle->start();
    UpdateCommandStates();
    refreshTitle();
}

MainWindow::~MainWindow() = default;

kov::platform::Profile* MainWindow::profile() const
{
    return m_document ? &m_document->services().profile : nullptr;
}

void MainWindow::refreshTitle()
{
    if (!m_document) {
        setWindowTitle(QString::fromUtf8(kProgramName));
        return;
    }
    const std::string& doc = m_document->GetTitle();
    setWindowTitle(QString::fromUtf8(doc) + QStringLiteral(" - ") + u(kAppWindowTitle));
}

// -- actions, menus, bars -------------------------------------------------------------------------------

QAction* MainWindow::makeAction(int command)
{
    if (auto it = m_actions.find(command); it != m_actions.end()) return it->second;
    auto* a = new QAction(this);
    a->setData(command);
    a->setObjectName(QStringLiteral("cmd%1").arg(command));
    if (const MenuItem* item = FindMenuItem(command)) {
        a->setText(u(item->text));
        std::string buf;
        a->setToolTip(u(StripAccessKey(item->text, buf)));
        if (!item->shortcut.empty()) a->setShortcut(QKeySequence(u(item->shortcut)));
        a->setIcon(icon(item->icon));
        a->setIconVisibleInMenu(false);
    }
    const CommandState s = EvaluateCommand(command, CommandContext{});
    if (command == GridShown || command == DimOtherLayers || command == TraceMode || command == DrawToolBar ||
        command == ToggleIntersectionSnap ||
        command == GroupToolBar || command == ViewToolBar || command == ViewStatusBar || ToolNumberOfCommand(command) >= 0)
        a->setCheckable(true);
    (void)s;
    connect(a, &QAction::triggered, this, [this, command] { RunCommand(command); });
    m_actions.emplace(command, a);
    addAction(a); // shortcuts work while the menus are closed
    return a;
}

void MainWindow::buildActions()
{
    for (const auto& menu : MainMenus())
        for (const auto& item : menu.items)
            if (item.command) makeAction(item.command);
    // Snap accelerators of the panel.
    struct Key { int command; const char* keys; };
    for (Key k : {Key{PanelGridSnap, "Shift+Z"}, Key{PanelLineSnap, "Shift+X"}, Key{PanelWallCoreSnap, "Shift+C"}}) {
        QAction* a = makeAction(k.command);
        a->setShortcut(QKeySequence(QString::fromLatin1(k.keys)));
        a->setCheckable(false);
    }
}

void MainWindow::buildMenus()
{
    for (const auto& def : MainMenus()) {
        QMenu* menu = menuBar()->addMenu(u(def.title));
        std::map<std::string_view, QMenu*> subs;
        for (const auto& item : def.items) {
            if (!item.command) {
                menu->addSeparator();
                continue;
            }
            QMenu* target = menu;
            if (!item.submenu.empty()) {
                auto& sub = subs[item.submenu];
                if (!sub) sub = menu->addMenu(u(item.submenu));
                target = sub;
            }
            target->addAction(m_actions.at(item.command));
        }
        connect(menu, &QMenu::aboutToShow, this, &MainWindow::UpdateCommandStates);
    }
}

void MainWindow::buildToolBars(bool large)
{
    const int px = large ? 24 : 16;
    for (const auto& def : ToolBars()) {
        QToolBar* bar = new QToolBar(u(def.title), this);
        bar->setObjectName(u(def.name));
        bar->setIconSize(QSize(px, px));
        for (int command : def.commands) {
            if (!command) bar->addSeparator();
            else bar->addAction(makeAction(command));
        }
        m_toolBars[def.id] = bar;
    }
    addToolBar(Qt::TopToolBarArea, m_toolBars[ViewToolBar]);
    addToolBar(Qt::LeftToolBarArea, m_toolBars[DrawToolBar]);
    addToolBar(Qt::RightToolBarArea, m_toolBars[GroupToolBar]);
}

QToolBar* MainWindow::toolBar(int id) const
{
    auto it = m_toolBars.find(id);
    return it == m_toolBars.end() ? nullptr : it->second;
}

void MainWindow::ShowToolBars()
{
    if (auto* b = toolBar(DrawToolBar)) b->setVisible(m_bDrawToolBarShown != 0);
    if (auto* b = toolBar(GroupToolBar)) b->setVisible(m_bGroupToolBarShown != 0);
}

void MainWindow::buildStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("statusBar"));
    // The prompt sits in a permanent label: hover tips use the temporary message and never wipe it.
    m_prompt = new QLabel(bar);
    m_prompt->setObjectName(QStringLiteral("pane0"));
    m_prompt->setMinimumWidth(200);
    bar->addPermanentWidget(m_prompt, 1);
    m_panes[0] = m_prompt;
    const char* keys[] = {"ｶﾅ", "CAP", "NUM", "SCRL"};
    for (int i = 1; i <= 4; ++i) {
        auto* l = new QLabel(QString::fromUtf8(keys[i - 1]), bar);
        l->setEnabled(false);
        l->setObjectName(QStringLiteral("pane%1").arg(i));
        bar->addPermanentWidget(l);
        m_panes[static_cast<std::size_t>(i)] = l;
    }
    const int widths[] = {140, 140, 180};
    const char* empty[] = {"座標", "相対", "選択中の部品の縦横の幅"};
    for (int i = 5; i <= 7; ++i) {
        auto* l = new QLabel(QString::fromUtf8(empty[i - 5]), bar);
        l->setObjectName(QStringLiteral("pane%1").arg(i));
        l->setFrameShape(QFrame::Panel);
        l->setFrameShadow(QFrame::Sunken);
        l->setMinimumWidth(widths[i - 5]);
        bar->addPermanentWidget(l);
        m_panes[static_cast<std::size_t>(i)] = l;
    }
}

QPushButton* MainWindow::makePanelButton(int command, const char* iconName, const QString& text)
{
    auto* b = new QPushButton(text);
    b->setObjectName(QStringLiteral("ctl%1").arg(command));
    if (iconName) {
        b->setIcon(icon(iconName));
        b->setIconSize(QSize(24, 24));
    }
    b->setMinimumHeight(30);
    if (const MenuItem* item = FindMenuItem(command)) b->setToolTip(u(item->text));
    m_buttons[command] = b;
    return b;
}

void MainWindow::setButtonIcon(int command, const char* iconName)
{
    if (auto* b = panelButton(command)) {
        b->setIcon(icon(iconName));
        b->setProperty("iconName", QString::fromUtf8(iconName));
    }
}

QAction* MainWindow::action(int command) const
{
    auto it = m_actions.find(command);
    return it == m_actions.end() ? nullptr : it->second;
}

QAbstractButton* MainWindow::panelButton(int command) const
{
    auto it = m_buttons.find(command);
    return it == m_buttons.end() ? nullptr : it->second;
}

void MainWindow::buildToolPanel()
{
    m_toolPanel = new QWidget;
    m_toolPanel->setObjectName(QStringLiteral("toolPanel"));
    auto* grid = new QGridLayout(m_toolPanel);
    grid->setContentsMargins(4, 4, 4, 4);
    grid->setSpacing(3);
    int row = 0;
    auto* scaleLabel = new QLabel(QStringLiteral("縮尺　1/"));
    grid->addWidget(scaleLabel, row, 0);
    auto* scale = makePanelButton(PanelScale, nullptr, QStringLiteral("100"));
    scale->setToolTip(QStringLiteral("縮尺の変更"));
    grid->addWidget(scale, row++, 1);
    auto* select = makePanelButton(PanelSelect, "select_on", QStringLiteral("選択"));
    select->setToolTip(QStringLiteral("選択"));
    grid->addWidget(select, row++, 0, 1, 2);
    struct Pair { int a; const char* ia; const char* ta; int b; const char* ib; const char* tb; };
    const Pair pairs[] = {
        {PanelRectRoom, "rectroom", "四角形部屋作成", PanelPolygonRoom, "polyroom", "多角形部屋作成"},
        {PanelParts, "parts", "部品配置", PanelFittings, "fittings", "建具配置"},
        {PanelWall, "wall", "壁作成", PanelStairs, "stairs", "階段作成"},
        {PanelText, "text", "文字", PanelDecoratedText, "decotext", "修飾文字"},
        {PanelImage, "picture", "画像の挿入", PanelDelete, "delete", "削除"},
    };
    for (const Pair& p : pairs) {
        makePanelButton(p.a, p.ia)->setToolTip(QString::fromUtf8(p.ta));
        makePanelButton(p.b, p.ib)->setToolTip(QString::fromUtf8(p.tb));
        grid->addWidget(m_buttons[p.a], row, 0);
        grid->addWidget(m_buttons[p.b], row++, 1);
    }
    auto* props = new QGroupBox(QStringLiteral("プロパティ"));
    auto* pl = new QVBoxLayout(props);
    pl->setContentsMargins(4, 4, 4, 4);
    m_sample = new QLabel;
    m_sample->setObjectName(QStringLiteral("ctl2126"));
    m_sample->setFixedSize(92, 40);
    m_sample->setFrameShape(QFrame::Box);
    pl->addWidget(m_sample, 0, Qt::AlignHCenter);
    pl->addWidget(makePanelButton(PanelProperties, nullptr, QString()));
    grid->addWidget(props, row++, 0, 1, 2);

    auto* axis = new QWidget;
    auto* al = new QGridLayout(axis);
    al->setContentsMargins(0, 0, 0, 0);
    al->setSpacing(2);
    auto* axisGroup = new QButtonGroup(this);
    struct Axis { int c; const char* i; const char* t; };
    const Axis axes[] = {{PanelMouseFree, "axisfree", "マウス自由"}, {PanelMouseAxisLock, "axisboth", "縦横固定"},
                         {PanelMouseVertical, "axisvert", "縦固定"}, {PanelMouseHorizontal, "axishorz", "横固定"}};
    int k = 0;
    for (const Axis& a : axes) {
        auto* b = makePanelButton(a.c, a.i);
        b->setToolTip(QString::fromUtf8(a.t));
        b->setCheckable(true);
        b->setMinimumHeight(26);
        axisGroup->addButton(b);
        al->addWidget(b, k / 2, k % 2);
        ++k;
    }
    m_buttons[PanelMouseFree]->setChecked(true);
    grid->addWidget(axis, row++, 0, 1, 2);

    auto* lockBox = new QGroupBox(QStringLiteral("部屋移動ロック"));
    auto* ll = new QVBoxLayout(lockBox);
    ll->setContentsMargins(4, 4, 4, 4);
    m_roomLock = new QComboBox;
    m_roomLock->setObjectName(QStringLiteral("ctl2122"));
    ll->addWidget(m_roomLock);
    grid->addWidget(lockBox, row++, 0, 1, 2);

    auto* gs = makePanelButton(PanelGridSnap, "gridsnap");
    gs->setToolTip(QStringLiteral("グリッド吸着"));
    gs->setCheckable(true);
    grid->addWidget(gs, row, 0);
    m_gridDivision = new QComboBox;
    m_gridDivision->setObjectName(QStringLiteral("ctl1780"));
    grid->addWidget(m_gridDivision, row++, 1);
    auto* ls = makePanelButton(PanelLineSnap, "linesnap");
    ls->setToolTip(QStringLiteral("線吸着"));
    ls->setCheckable(true);
    auto* cs = makePanelButton(PanelWallCoreSnap, "coresnap");
    cs->setToolTip(QStringLiteral("壁芯吸着"));
    cs->setCheckable(true);
    grid->addWidget(ls, row, 0);
    grid->addWidget(cs, row++, 1);

    m_stretchGroup = new QGroupBox;
    m_stretchGroup->setObjectName(QStringLiteral("ctl2127"));
    auto* sl = new QGridLayout(m_stretchGroup);
    sl->setContentsMargins(4, 4, 4, 4);
    auto* sr = makePanelButton(PanelStretchRotate, nullptr, QStringLiteral("伸縮回転OFF"));
    sr->setCheckable(true);
    sl->addWidget(sr, 0, 0, 1, 2);
    m_continuous = new QCheckBox(QStringLiteral("連"));
    m_continuous->setObjectName(QStringLiteral("ctl1331"));
    m_keepAspect = new QCheckBox(QStringLiteral("等"));
    m_keepAspect->setObjectName(QStringLiteral("ctl1677"));
    m_buttons[PanelContinuousStretch] = m_continuous;
    m_buttons[PanelKeepAspect] = m_keepAspect;
    sl->addWidget(m_continuous, 1, 0);
    sl->addWidget(m_keepAspect, 1, 1);
    grid->addWidget(m_stretchGroup, row++, 0, 1, 2);
    grid->setRowStretch(row, 1);

    for (auto& [command, button] : m_buttons) {
        const int c = command;
        if (c == PanelContinuousStretch || c == PanelKeepAspect) continue;
        connect(button, &QAbstractButton::clicked, this, [this, c] { RunCommand(c); });
    }
    connect(m_continuous, &QCheckBox::clicked, this, [this] { RunCommand(PanelContinuousStretch); });
    connect(m_keepAspect, &QCheckBox::clicked, this, [this] { RunCommand(PanelKeepAspect); });
    connect(m_gridDivision, &QComboBox::activated, this, &MainWindow::OnGridDivisionChanged);
    connect(m_roomLock, &QComboBox::activated, this, &MainWindow::OnRoomLockChanged);

    m_toolPanelDock = new QDockWidget(this);
    m_toolPanelDock->setObjectName(QStringLiteral("toolPanelBar"));
    m_toolPanelDock->setFeatures(QDockWidget::NoDockWidgetFeatures);
    m_toolPanelDock->setTitleBarWidget(new QWidget);
    m_toolPanelDock->setWidget(m_toolPanel);
    addDockWidget(Qt::LeftDockWidgetArea, m_toolPanelDock);
}

void MainWindow::buildLayerBar()
{
    m_layerBar = new QWidget;
    m_layerBar->setObjectName(QStringLiteral("layerBar"));
    auto* v = new QVBoxLayout(m_layerBar);
    v->setContentsMargins(4, 4, 4, 4);
    v->setSpacing(3);
    auto* box = new QGroupBox(QStringLiteral("レイヤー"));
    auto* g = new QGridLayout(box);
    g->setContentsMargins(4, 4, 4, 4);
    g->setSpacing(2);
    const int numbers[] = {LayerNumber0, LayerNumber1, LayerNumber2};
    const int states[] = {LayerState0, LayerState1, LayerState2};
    for (int r = 0; r < 3; ++r) {
        auto* n = makePanelButton(numbers[r], nullptr, QString::number(r));
        n->setCheckable(true);
        n->setFixedWidth(30);
        auto* s = makePanelButton(states[r], nullptr, QString());
        s->setMinimumWidth(64);
        g->addWidget(n, r, 0);
        g->addWidget(s, r, 1);
        connect(n, &QPushButton::clicked, this, [this, r] { OnLayerBarNumber(r); UpdateCommandStates(); });
        connect(s, &QPushButton::clicked, this, [this, r] { OnLayerBarState(r); UpdateCommandStates(); });
    }
    v->addWidget(box);
    auto* list = makePanelButton(LayerList, nullptr, QStringLiteral("一覧"));
    connect(list, &QPushButton::clicked, this, [this] { RunCommand(LayerList); });
    v->addWidget(list);
    struct Mode { int c; const char* caption; const char* icon; const char* tip; };
    const Mode modes[] = {
        {ColourModeColour, "カラー", "colour", "カラーで表示"},
        {ColourModeBlackWhite, "白黒", "blackwhite", "白黒で表示"},
        {ColourModeGradient1, "ｸﾞﾗﾃﾞ1", "grad1", "グラデーション(方向に変化)で表示"},
        {ColourModeGradient2, "ｸﾞﾗﾃﾞ2", "grad2", "グラデーション(周りに向けて変化)で表示"},
        {ColourModeChic, "ｸﾞﾗﾃﾞ3", "chic", "シック(影状のグラデーション)で表示"},
    };
    for (const Mode& m : modes) {
        auto* b = makePanelButton(m.c, m.icon, QString::fromUtf8(m.caption));
        b->setToolTip(QString::fromUtf8(m.tip));
        b->setCheckable(true);
        const int c = m.c;
        connect(b, &QPushButton::clicked, this, [this, c] { OnColourMode(c); UpdateCommandStates(); });
        v->addWidget(b);
    }
    v->addStretch(1);
    m_layerBarDock = new QDockWidget(this);
    m_layerBarDock->setObjectName(QStringLiteral("layerBarDock"));
    m_layerBarDock->setFeatures(QDockWidget::NoDockWidgetFeatures);
    m_layerBarDock->setTitleBarWidget(new QWidget);
    m_layerBarDock->setWidget(m_layerBar);
    addDockWidget(Qt::RightDockWidgetArea, m_layerBarDock);
}

// -- routing ----------------------------------------------------------------------------------------------

void MainWindow::Route(Target target, int command, Handler handler)
{
    m_routes[static_cast<std::size_t>(target)][command] = std::move(handler);
}

void MainWindow::SyncToolPanel()
{
    if (!m_document) return;
    const int tool = m_document->m_nToolMode;
    int current = 0;
    for (const auto& e : ToolCommandEffects())
        if (e.toolNumber == tool && panelIcon(e.command) && e.command != PanelParts) {
            current = e.command;
            break;
        }
    for (const auto& p : kPanelIcons) {
        const char* wanted = p.command == current ? p.on : p.off;
        if (auto* b = panelButton(p.command); b && b->property("iconName").toString() != QString::fromUtf8(wanted))
            setButtonIcon(p.command, wanted);
    }
}

bool MainWindow::RunCommand(int command)
{
    bool handled = false;
    for (auto& table : m_routes) {
        auto it = table.find(command);
        if (it == table.end() || !it->second) continue;
        // A disabled command does not run, whatever sent it (an accelerator, a test).
        if (!EvaluateCommand(command, commandContext()).enabled) {
            handled = true;
            break;
        }
        it->second();
        handled = true;
        break;
    }
    if (!handled && m_toolCommands) handled = m_toolCommands(command);
    if (!handled && m_view && ToolNumberOfCommand(command) >= 0) {
        // Drawing tools start in the view's tool machine, after the frame's reset.
        ResetToolPalette();
        handled = m_view->runCommand(command);
        // The machine's start may have switched snaps; the panel and the sample follow.
        ShowSnapButtons();
        DrawToolSample();
    }
    // Every command a person can send has a route: one without is a fault of the program, not
    // something to tell the user.
    if (!handled) qWarning("command %d has no route", command);
    // A checkable action flips itself when triggered: bring every mark back in line at once.
    UpdateCommandStates();
    return handled;
}

void MainWindow::buildRoutes()
{
    if (!m_document || !m_view) return;
    CKoviraDoc& doc = *m_document;
    CKoviraView& view = *m_view;
    auto V = [this](int c, Handler h) { Route(Target::View, c, std::move(h)); };
    auto D = [this](int c, Handler h) { Route(Target::Document, c, std::move(h)); };
    auto F = [this](int c, Handler h) { Route(Target::Frame, c, std::move(h)); };
    auto A = [this](int c, Handler h) { Route(Target::Application, c, std::move(h)); };

    // view
    V(ZoomIn, [&view] { view.ZoomIn(); });
    V(ZoomOut, [&view] { view.ZoomOut(); });
    V(FitAll, [&view] { view.FitAll(); });
    V(RangeZoom, [&view] { view.StartRangeZoom(); });
    V(HandTool, [&view] { view.OnHandTool(); });
    V(EditUndo, [this, &view] { view.OnUndo(); RefreshLayerBar(); });
    V(EditRedo, [this, &view] { view.OnRedo(); RefreshLayerBar(); });
    // Showing the grid turns grid snap on and hiding it turns it off, as the machine's own toggle does.
    V(GridShown, [this, &view] {
        view.machine().OnToggleGrid();
        ShowSnapButtons();
    });
    V(DimOtherLayers, [&doc, &view] {
        doc.m_PlotInfo.laygray = doc.m_PlotInfo.laygray ? 0 : 1;
        view.RedrawAll();
    });
    V(TraceMode, [&view] {
        if (CKoviraApp* app = CKoviraApp::Current()) app->m_bTraceMode = app->m_bTraceMode ? 0 : 1;
        view.RedrawAll();
    });
    V(OpenSample, [this] { OnOpenSample(); });
    V(GridSpacing, [this, &doc, &view] {
        kov::dialogs::CGridConfDlg dlg(doc.m_Grid, doc.services().profile, this);
        if (dlg.exec() != QDialog::Accepted) return;
        doc.m_Grid = dlg.grid();
        ApplyGridDivision();
        view.RedrawAll();
    });
    V(Settings, [this, &doc, &view] {
        if (!OnSettings(doc, &view, this)) return;
        ShowSnapButtons();
        DrawToolSample();
        RefreshLayerBar();
    });
    V(Help, [this] { OpenInstalledFile("help/index.html"); });
    V(Guide1, [this] { OpenInstalledFile("help/guide1.html", "help/guide1.html"); });
    V(Guide2, [this] { OpenInstalledFile("help/guide2.html", "help/guide2.html"); });
    V(Readme, [this] { OpenInstalledFile("readme.txt", "readme.txt"); });
    V(HomePage, [this] { OpenHomePage(); });
    V(cmd::CheckForUpdate, [this] { CheckForUpdate(); });
    V(RotateImageLeft, [&view] { view.RotateSelectedImage90(1); });
    V(RotateImageRight, [&view] { view.RotateSelectedImage90(2); });
    auto printValues = [&doc, &view] { return ViewPrintValues(doc, view); };
    auto printers = std::make_shared<PrinterSelection>();
    V(FilePrint, [this, &doc, printValues, printers] { OnFilePrint(doc, printValues(), *printers, this); });
    V(FilePrintPreview, [this, &doc, printValues, printers] {
        OnFilePrintPreview(doc, printValues(), *printers, this);
    });
    V(PrintOffset, [this, &doc] { OnPrintPosition(doc, this); });
    V(PageSetup, [this, &doc, &view] {
        if (OnPaperSettings(doc, this)) view.OnInitialUpdate();
    });
    V(cmd::ExportDxf, [&doc] { kov::app::ExportDxf(doc); });
    V(cmd::ImportDxf, [this, &doc] {
        const bool read = kov::app::ImportDxf(doc, [this](kov::io::DxfReadOptions& options) {
            kov::dialogs::DxfReadSetDialog dlg(this);
            if (dlg.exec() != QDialog::Accepted) return false;
            options = dlg.form().options;
            return true;
        });
        if (read) RefreshLayerBar();
    });

    // document
    D(FileSave, [this, &doc] { doc.DoFileSave(); refreshTitle(); });
    D(FileSaveAs, [this, &doc] { doc.DoFileSaveAs(); refreshTitle(); });
    D(OpenBackup, [this, &doc] { doc.OpenBackupFile(0); RefreshLayerBar(); });
    // Jw_cad exchange and picture export.
    D(ImportJw, [this, &doc, &view] {
        if (OnImportJwcad(view, doc)) RefreshLayerBar();
    });
    D(ExportJw, [&doc, &view] { OnExportJwcad(view, doc); });
    D(ImportJwsJwk, [this, &doc, &view] {
        OnImportJwsJwk(view, doc);
        RefreshLayerBar();
    });
    D(SaveImage, [&doc, &view] { OnExportPicture(view, doc); });

    // frame
    for (const auto& e : ToolCommandEffects())
        if (e.command != PanelDelete) F(e.command, [this, c = e.command] { OnToolCommand(c); });
    F(PanelDelete, [this] { OnDeleteTool(); });
    F(Delete, [this] { OnDeleteTool(); });
    F(PanelProperties, [this] { OnToolProperties(); });
    F(PanelGridSnap, [this] { OnGridSnap(); });
    F(PanelLineSnap, [this] { OnLineSnap(); });
    F(PanelWallCoreSnap, [this] { OnWallCoreSnap(); });
    F(PanelCrossSnap, [] {});
    for (int c : {PanelMouseFree, PanelMouseAxisLock, PanelMouseVertical, PanelMouseHorizontal})
        F(c, [this, c] { OnAxisLock(c); });
    F(PanelStretchRotate, [this] { OnStretchRotateMode(); });
    F(PanelContinuousStretch, [this] {
        const int v = m_continuous->isChecked() ? 1 : 0;
        if (CKoviraApp* app = CKoviraApp::Current()) app->WriteCachedSetting("app_sinsyuku", v);
        else if (auto* p = profile()) p->WriteProfileInt(kSectionUtility, "app_sinsyuku", v);
    });
    F(PanelKeepAspect, [this] {
        const int v = m_keepAspect->isChecked() ? 1 : 0;
        if (CKoviraApp* app = CKoviraApp::Current()) app->WriteCachedSetting("app_strecheven", v);
        else if (auto* p = profile()) p->WriteProfileInt(kSectionUtility, "app_strecheven", v);
    });
    F(PanelScale, [this] { OnScaleButton(); });
    F(DrawToolBar, [this] {
        m_bDrawToolBarShown = !m_bDrawToolBarShown;
        ShowToolBars();
    });
    F(GroupToolBar, [this] {
        m_bGroupToolBarShown = !m_bGroupToolBarShown;
        ShowToolBars();
    });
    F(ViewToolBar, [this] { toolBar(ViewToolBar)->setVisible(!toolBar(ViewToolBar)->isVisible()); });
    F(ViewStatusBar, [this] { statusBar()->setVisible(!statusBar()->isVisible()); });
    F(AppExit, [this] { close(); });

    buildSelectionRoutes();
    buildFileRoutes();
    buildEditRoutes();
    buildLibraryRoutes();
    buildPropertyRoutes();
    buildLineEditRoutes();
    buildPictureRoutes();
    buildMeasureRoutes();
    buildAnnotationRoutes();
    buildElevationRoutes();

    // application
    A(FileNew, [] {
        if (CKoviraApp* app = CKoviraApp::Current()) app->DoFileNew();
    });
    A(FileOpen, [] {
        if (CKoviraApp* app = CKoviraApp::Current()) app->OnFileOpen();
    });
    A(AppAbout, [this] {
        std::string text;
        for (const auto& line : CKoviraApp::AboutLines()) text += line + "\n";
        if (CKoviraApp* app = CKoviraApp::Current()) app->questions().message(text, kAppWindowTitle);
    });
}

// -- command states -------------------------------------------------------------------------------------------

CommandContext MainWindow::commandContext() const
{
    CommandContext c;
    c.drawToolBarShown = m_bDrawToolBarShown;
    c.groupToolBarShown = m_bGroupToolBarShown;
    if (!m_document) return c;
    CKoviraDoc& doc = *m_document;
    c.unit = &doc.m_Unit;
    c.selection = &doc.m_Selection;
    c.toolNumber = doc.m_nToolMode;
    c.undoSize = static_cast<int>(doc.m_UndoStack.size());
    c.redoSize = static_cast<int>(doc.m_RedoStack.size());
    c.gridShown = doc.m_Grid.visible;
    c.dimOtherLayers = doc.m_PlotInfo.laygray;
    if (CKoviraApp* app = CKoviraApp::Current()) c.traceMode = app->m_bTraceMode;
    if (m_view) c.intersectionSnap = m_view->machine().m_bIntersectionSnap;
    c.backupsOn = doc.services().profile.GetProfileInt(kSectionUtility, "app_backup", 1);
    if (m_view) {
        c.zoom = m_view->m_geo.m_dZoom;
        c.zoomMode = m_view->m_nZoomMode;
        c.placing = m_view->m_bPlacing;
    }
    c.clipboardHasPicture = kov::platform::ClipboardHasImage() ? 1 : 0;
    return c;
}

void MainWindow::UpdateCommandStates()
{
    // Idle refreshes come between a tool's clicks: a snapshot taken at one click stays for the change
    // a later click makes.
    if (m_document) m_document->SettleUndo(true);
    const CommandContext c = commandContext();
    for (auto& [command, a] : m_actions) {
        const CommandState s = EvaluateCommand(command, c);
        if (!s.known) {
            if (a->isCheckable()) a->setChecked(false);
            if (command == ViewToolBar) a->setChecked(toolBar(ViewToolBar)->isVisible());
            if (command == ViewStatusBar) a->setChecked(statusBar()->isVisible());
            continue;
        }
        a->setEnabled(s.enabled);
        if (a->isCheckable()) a->setChecked(s.checked || s.radio);
    }
    for (int command : {PanelImage, PanelDelete}) {
        if (auto* b = panelButton(command)) b->setEnabled(EvaluateCommand(command, c).enabled);
    }
}

// -- status bar ----------------------------------------------------------------------------------------------

void MainWindow::SetStatusText(const std::string& text)
{
    m_prompt->setText(QString::fromStdString(text));
    m_prompt->repaint();
}

std::string MainWindow::statusText() const { return m_prompt->text().toStdString(); }

QString MainWindow::prompt() const { return m_prompt->text(); }

std::string MainWindow::paneText(int pane) const
{
    if (pane < 0 || pane >= static_cast<int>(m_panes.size()) || !m_panes[static_cast<std::size_t>(pane)]) return {};
    return m_panes[static_cast<std::size_t>(pane)]->text().toStdString();
}

void MainWindow::ShowCoordinates(double x, double y, double dx, double dy, const std::string& selectionText)
{
    m_panes[5]->setText(QString::fromStdString(FormatAbsolutePosition(x, y)));
    m_panes[6]->setText(QString::fromStdString(FormatRelativePosition(dx, dy)));
    m_panes[7]->setText(QString::fromStdString(selectionText));
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (m_view && watched == m_view->viewport() && event->type() == QEvent::MouseMove) {
        const auto* me = static_cast<QMouseEvent*>(event);
        const double ratio = m_view->devicePixelRatioOfView();
        const QPointF p = me->position() * ratio;
        const CDbPoint at = m_view->WindowToSheet(DevicePoint{static_cast<int>(p.x()), static_cast<int>(p.y())});
        const bool relative = !m_view->m_ToolPoints.empty() || m_view->m_bDragging;
        ShowCoordinates(at.x, at.y, relative ? at.x - m_view->m_ptLast.x : 0.0,
                        relative ? at.y - m_view->m_ptLast.y : 0.0, m_view->DescribeSelection());
    }
    return QMainWindow::eventFilter(watched, event);
}

namespace {
// The frame's slot of each kind that PlaceToolDialogBelow places.
constexpr int kBelowSlot[] = {-1, 3, 1, 2, 0, 4, 7, -1, 9, 12};
} // namespace

void MainWindow::KeepToolPanel(QWidget* panel, int kind)
{
    // A negative kind is placed beside the layer bar.
    static const int kBesideSlot[] = {-1, -1, -1, 10, 14, -1, -1, -1, -1, 6, 5, 11, 13};
    const bool beside = kind < 0;
    if (beside ? (-kind > 12 || kBesideSlot[-kind] < 0) : (kind < 1 || kind > 9 || kBelowSlot[kind] < 0)) return;
    const auto slot = static_cast<std::size_t>(beside ? kBesideSlot[-kind] : kBelowSlot[kind]);
    m_pToolDialog[slot] = panel;
    // Whoever closes it first, the slot never points at a closed panel.
    connect(panel, &QObject::destroyed, this, [this, slot, panel] {
        if (m_pToolDialog[slot] == panel) m_pToolDialog[slot] = nullptr;
    });
    // A panel not yet shown has no size from its layout: without it a panel placed beside the layer
    // bar would reach over the bar once shown.
    if (!panel->isVisible() && !panel->testAttribute(Qt::WA_Resized)) panel->adjustSize();
    if (beside) PlaceToolDialogBeside(-kind);
    else PlaceToolDialogBelow(kind);
}

// The panels sit beside the layer bar or below the tool panel, never over the drawing's centre.
void MainWindow::PlaceToolDialogBelow(int kind)
{
    const auto& kSlot = kBelowSlot;
    if (kind < 1 || kind > 9 || kSlot[kind] < 0) return;
    QWidget* w = m_pToolDialog[static_cast<std::size_t>(kSlot[kind])];
    if (!w) return;
    const QPoint layerTop = m_layerBarDock->mapToGlobal(QPoint(0, 0));
    if (kind == 2 || kind == 3 || kind == 9) {
        QAbstractButton* select = panelButton(PanelSelect);
        const QPoint sel = select->mapToGlobal(QPoint(0, 0));
        const QPoint groupBottom = m_stretchGroup->mapToGlobal(QPoint(0, m_stretchGroup->height()));
        w->setGeometry(sel.x(), groupBottom.y() + 5, select->width(), w->height());
    } else {
        w->move(layerTop.x() - w->frameGeometry().width(), layerTop.y());
    }
}

void MainWindow::PlaceToolDialogBeside(int kind)
{
    static const int kSlot[] = {-1, -1, -1, 10, 14, -1, -1, -1, -1, 6, 5, 11, 13};
    if (kind < 2 || kind > 12 || kSlot[kind] < 0) return;
    QWidget* w = m_pToolDialog[static_cast<std::size_t>(kSlot[kind])];
    if (!w) return;
    const QPoint layerTop = m_layerBarDock->mapToGlobal(QPoint(0, 0));
    const int gap = (kind == 9 || kind == 10 || kind == 12) ? 32 : 0;
    if (kind == 11) {
        const QPoint panel = m_toolPanelDock->mapToGlobal(QPoint(m_toolPanelDock->width(), 0));
        w->setGeometry(panel.x(), panel.y(), w->width(), w->height() + (layerTop.y() - panel.y()));
    } else {
        w->move(layerTop.x() - w->frameGeometry().width() - gap, layerTop.y());
    }
}

int MainWindow::MmToDeviceUnits(double mm) const
{
    const double dpi = logicalDpiY() > 0 ? logicalDpiY() : 96;
    return static_cast<int>(std::floor(mm * dpi / 25.4 + 0.5));
}

// -- tool panel ------------------------------------------------------------------------------------------------

void MainWindow::ResetToolPalette()
{
    if (m_view && m_view->m_bPlacing) m_view->m_bPlacing = m_view->machine().m_bPlacing = 0;
    for (const auto& p : kPanelIcons) setButtonIcon(p.command, p.off);
    ShowSnapButtons();
    for (int c : {PanelMouseFree, PanelMouseAxisLock, PanelMouseVertical, PanelMouseHorizontal})
        panelButton(c)->setChecked(c == PanelMouseFree);
    if (m_view) {
        m_view->m_nAxisLock = m_view->machine().m_nAxisLock = 0;
        m_view->m_nZoomMode = m_view->machine().m_nZoomMode = 0;
        m_view->m_bHandTool = m_view->machine().m_bHandTool = 0;
    }
    if (m_gridDivision->count() > 10 && m_document)
        m_gridDivision->setCurrentIndex(GridDivisionItemOf(m_document->m_Grid.kyutyakukankaku));
    RefreshLayerBar();
    // The open panels go in the frame's fixed order; slot 8 is never set.
    static const int kOrder[] = {14, 0, 1, 2, 12, 3, 4, 5, 6, 7, 9, 10, 11, 13};
    for (int slot : kOrder) {
        QWidget*& w = m_pToolDialog[static_cast<std::size_t>(slot)];
        if (w) {
            kov::dialogs::CloseToolPanel(w);
            w = nullptr;
        }
        if (slot == 11 && m_view) m_view->machine().m_strText.clear();
    }
    ShowScale();
}

void MainWindow::InitToolPanel()
{
    ResetToolPalette();
    setButtonIcon(PanelSelect, "select_on");
    kov::platform::Profile* p = profile();
    if (m_gridDivision->count() == 0)
        for (auto item : GridDivisionItems()) m_gridDivision->addItem(u(item));
    if (m_document) m_gridDivision->setCurrentIndex(GridDivisionItemOf(m_document->m_Grid.kyutyakukankaku));
    ShowSnapButtons();
    panelButton(PanelWallCoreSnap)->setVisible(p && p->GetProfileInt(kSectionUtility, "app_walpitaview", 0) != 0);
    ShowScale();
    if (m_view) m_view->m_bStretchRotate = 0;
    panelButton(PanelStretchRotate)->setChecked(false);
    m_continuous->setChecked(p && p->GetProfileInt(kSectionUtility, "app_sinsyuku", 0) != 0);
    m_keepAspect->setChecked(p && p->GetProfileInt(kSectionUtility, "app_strecheven", 0) != 0);
    if (m_roomLock->count() == 0)
        for (const char* t : {"常時ロック", "ｸﾞﾘｯﾄﾞ吸Off時ﾛｯｸ", "常時解除"}) m_roomLock->addItem(QString::fromUtf8(t));
    m_roomLock->setCurrentIndex(RoomLockItemOf(p ? p->GetProfileInt(kSectionUtility, "app_room_lock", 2) : 2));
    RefreshLayerBar();
    panelButton(PanelStretchRotate)->setText(QStringLiteral("伸縮回転OFF"));
    DrawToolSample();
}

void MainWindow::ShowSnapButtons()
{
    if (!m_document) return;
    const CPlotInfo& plot = m_document->m_PlotInfo;
    const bool grid = m_document->m_Grid.kyutyaku != 0;
    setButtonIcon(PanelGridSnap, grid ? "gridsnap_on" : "gridsnap");
    panelButton(PanelGridSnap)->setChecked(grid);
    setButtonIcon(PanelLineSnap, plot.PlotLinePita ? "linesnap_on" : "linesnap");
    panelButton(PanelLineSnap)->setChecked(plot.PlotLinePita != 0);
    setButtonIcon(PanelWallCoreSnap, plot.PlotWallPita ? "coresnap_on" : "coresnap");
    panelButton(PanelWallCoreSnap)->setChecked(plot.PlotWallPita != 0);
}

void MainWindow::focusAndRedraw()
{
    if (!m_view) return;
    m_view->setFocus();
    m_view->RedrawAll();
}

bool MainWindow::InsertPicture()
{
    if (!m_document || !m_view) return false;
    const int before = m_document->m_Unit.m_Images.GetSize();
    kov::app::InsertImageFile(*m_view, *m_document);
    return m_document->m_Unit.m_Images.GetSize() > before;
}

void MainWindow::OnToolCommand(int command)
{
    if (!m_document) return;
    const ToolCommandEffect* e = FindToolCommand(command);
    if (!e) return;
    // The picture comes first; a cancelled choice still ends in select mode.
    if (command == PanelImage) InsertPicture();
    ResetToolPalette();
    CKoviraApp* app = CKoviraApp::Current();
    static const AppSettingsCache kDefaults{};
    const AppSettingsCache& s = app ? static_cast<const AppSettingsCache&>(*app) : kDefaults;
    const int lock = ApplyToolCommand(*m_document, s, m_document->services().profile, *e);
    if (command == PanelParts) setButtonIcon(PanelSelect, "select_on");
    else if (const PanelIcon* pi = panelIcon(command)) setButtonIcon(command, pi->on);
    ShowSnapButtons();
    if (m_view) {
        // The view's tool machine takes the clicks of the tool from here on.
        if (e->toolNumber > 0) m_view->runCommand(command);
        m_view->m_ToolPoints.clear();
        m_view->machine().m_ToolPoints.clear();
    }
    if (lock) OnAxisLock(PanelMouseAxisLock);
    DrawToolSample();
    focusAndRedraw();
    if (e->setsPrompt) SetStatusText(std::string(e->prompt));
    if (command == PanelParts) ShowPartsPalette();
}

void MainWindow::OnDeleteTool()
{
    if (!m_document || !m_view) return;
    // The panel button, the menu's 削除 and the Del key are one command: the machine's deletion.
    if (!m_document->m_Selection.IsEmpty() || m_view->machine().m_bPlacing) m_view->machine().CallDelete();
    m_document->m_Selection.Clear();
    m_view->m_ToolPoints.clear();
    DrawToolSample();
    focusAndRedraw();
}

void MainWindow::CallSelectTool() { RunCommand(PanelSelect); }
void MainWindow::CallWallTool() { RunCommand(PanelWall); }
void MainWindow::CallTextTool() { RunCommand(PanelText); }
void MainWindow::CallMouseFree() { OnAxisLock(PanelMouseFree); }
void MainWindow::CallMouseAxisLock() { OnAxisLock(PanelMouseAxisLock); }

void MainWindow::OnGridSnap()
{
    if (!m_document) return;
    if (!m_document->m_Grid.visible) {
        setButtonIcon(PanelGridSnap, "gridsnap");
        panelButton(PanelGridSnap)->setChecked(false);
        return;
    }
    SetStatusText(ToggleGridSnapFlag(m_document->m_Grid));
    ShowSnapButtons();
    focusAndRedraw();
}

void MainWindow::OnLineSnap()
{
    if (!m_document) return;
    const CKoviraApp* app = CKoviraApp::Current();
    SetStatusText(ToggleLineSnapFlag(m_document->m_PlotInfo, app && app->app_autopita));
    ShowSnapButtons();
    focusAndRedraw();
}

void MainWindow::OnWallCoreSnap()
{
    if (!m_document) return;
    const CKoviraApp* app = CKoviraApp::Current();
    SetStatusText(ToggleWallCoreSnapFlag(m_document->m_PlotInfo, app && app->app_autopita));
    ShowSnapButtons();
    focusAndRedraw();
}

void MainWindow::ToggleGridSnap()
{
    OnGridSnap();
    ShowSnapButtons();
}

void MainWindow::ToggleLineSnap()
{
    OnLineSnap();
    const CKoviraApp* app = CKoviraApp::Current();
    if (m_document && app && app->app_autopita)
        m_document->m_PlotInfo.PlotWallPita = m_document->m_PlotInfo.PlotLinePita ? 0 : 1;
    ShowSnapButtons();
}

void MainWindow::ToggleWallCoreSnap()
{
    OnWallCoreSnap();
    const CKoviraApp* app = CKoviraApp::Current();
    if (m_document && app && app->app_autopita)
        m_document->m_PlotInfo.PlotLinePita = m_document->m_PlotInfo.PlotWallPita ? 0 : 1;
    ShowSnapButtons();
}

void MainWindow::OnAxisLock(int command)
{
    for (int c : {PanelMouseFree, PanelMouseAxisLock, PanelMouseVertical, PanelMouseHorizontal})
        panelButton(c)->setChecked(c == command);
    if (m_view) {
        m_view->m_nAxisLock = command == PanelMouseFree ? 0 : command == PanelMouseVertical ? 1
                            : command == PanelMouseHorizontal ? 2 : 3;
        m_view->machine().m_nAxisLock = m_view->m_nAxisLock;
    }
    focusAndRedraw();
}

void MainWindow::OnStretchRotateMode()
{
    if (!m_view) return;
    m_view->m_bStretchRotate = m_view->m_bStretchRotate ? 0 : 1;
    m_view->machine().m_bStretchRotate = m_view->m_bStretchRotate;
    auto* b = panelButton(PanelStretchRotate);
    b->setChecked(m_view->m_bStretchRotate != 0);
    b->setText(m_view->m_bStretchRotate ? QStringLiteral("伸縮・回転ON") : QStringLiteral("伸縮・回転OFF"));
    focusAndRedraw();
}

void MainWindow::ApplyGridDivision()
{
    if (!m_document || !profile()) return;
    const int d = GridDivisionOfItem(m_gridDivision->currentIndex(), *profile());
    if (d > 0) m_document->m_Grid.kyutyakukankaku = d;
}

void MainWindow::OnGridDivisionChanged(int index)
{
    if (index < 0) return;
    ApplyGridDivision();
    if (m_view) m_view->RedrawAll();
}

void MainWindow::OnRoomLockChanged(int index)
{
    const int v = RoomLockValueOfItem(index);
    if (v >= 0 && profile()) profile()->WriteProfileInt(kSectionUtility, "app_room_lock", v);
}

void MainWindow::ShowScale()
{
    if (!m_document) return;
    const CLayer& layer = m_document->m_PlotInfo.m_Layer;
    const int g = layer.m_nCurrentGroup;
    if (g < 0 || g >= CLayer::kRecords) return;
    panelButton(PanelScale)->setText(QString::fromStdString(ScaleText(layer.m_dScale[static_cast<std::size_t>(g)])));
}

void MainWindow::OnScaleButton()
{
    if (!m_document || !m_view) return;
    // The snapshot comes first, so that even a cancelled dialog leaves one step to undo.
    m_view->PushUndo();
    const CLayer& layer = m_document->m_PlotInfo.m_Layer;
    const double old = layer.m_dScale[static_cast<std::size_t>(std::clamp(layer.m_nCurrentGroup, 0, 15))];
    kov::platform::Profile& p = m_document->services().profile;
    QDialog dlg(this);
    dlg.setWindowTitle(QString::fromUtf8(kScaleDialogTitle));
    auto* form = new QFormLayout(&dlg);
    auto* spin = new QDoubleSpinBox(&dlg);
    spin->setRange(0.01, 9999.99);
    spin->setDecimals(2);
    spin->setValue(old);
    form->addRow(QStringLiteral("縮尺　1/"), spin);
    auto* texts = new QCheckBox(QString::fromUtf8(kScaleTextsToo), &dlg);
    texts->setChecked(p.GetProfileInt("KOV_T_PlotMenu", "scale_mozisyuku", 1) != 0);
    form->addRow(texts);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dlg);
    connect(buttons, &QDialogButtonBox::accepted, &dlg, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dlg, &QDialog::reject);
    form->addRow(buttons);
    if (dlg.exec() == QDialog::Accepted) {
        p.WriteProfileInt("KOV_T_PlotMenu", "scale_mozisyuku", texts->isChecked() ? 1 : 0);
        ChangeScale(m_document->m_PlotInfo, m_document->m_Unit, spin->value(), texts->isChecked());
        ShowScale();
        RefreshLayerBar();
    }
    focusAndRedraw();
}

// -- layer bar ---------------------------------------------------------------------------------------------------

void MainWindow::RefreshLayerBar()
{
    if (!m_document) return;
    const LayerBarView v = RefreshLayerBarView(m_document->m_Unit, m_document->m_PlotInfo);
    const int numbers[] = {LayerNumber0, LayerNumber1, LayerNumber2};
    const int states[] = {LayerState0, LayerState1, LayerState2};
    for (int r = 0; r < 3; ++r) {
        auto* n = panelButton(numbers[r]);
        if (!n) return; // the bar is still being built
        n->setText(QString::fromStdString(v.numberCaptions[static_cast<std::size_t>(r)]));
        n->setChecked(v.checkedNumber == r);
        panelButton(states[r])->setText(QString::fromStdString(v.stateCaptions[static_cast<std::size_t>(r)]));
        panelButton(states[r])->setToolTip(QString::fromStdString(v.stateTips[static_cast<std::size_t>(r)]));
    }
    if (auto* s = panelButton(PanelScale)) s->setText(QString::fromStdString(v.scaleText));
    for (int c : {ColourModeColour, ColourModeBlackWhite, ColourModeGradient1, ColourModeGradient2, ColourModeChic})
        panelButton(c)->setChecked(c == v.colourButton);
    if (m_view) m_view->RedrawAll();
}

void MainWindow::OnLayerBarNumber(int row)
{
    if (!m_document) return;
    ChooseLayerGroup(m_document->m_PlotInfo, row);
    RefreshLayerBar();
}

void MainWindow::OnLayerBarState(int row)
{
    if (!m_document) return;
    if (CycleLayerGroupState(m_document->m_PlotInfo, row)) RefreshLayerBar();
}

void MainWindow::OnColourMode(int command)
{
    if (!m_document) return;
    SetColourMode(m_document->m_PlotInfo, command);
    RefreshLayerBar();
}

// -- tool sample and properties -------------------------------------------------------------------------------------

void MainWindow::DrawToolSample()
{
    if (!m_sample || !m_document) return;
    QImage img(m_sample->size() * devicePixelRatioF(), QImage::Format_RGB32);
    img.fill(Qt::white);
    const CKoviraDoc& doc = *m_document;
    const bool one = doc.m_nToolMode == 0 && doc.m_Selection.m_nCount == 1;
    {
        kov::platform::PainterSurface dc(img);
        SwatchEnvironment env;
        if (CKoviraApp* app = CKoviraApp::Current()) {
            for (std::size_t i = 0; i < env.patterns.size() && i < app->m_Bitmaps.size(); ++i)
                env.patterns[i] = app->m_Bitmaps[i];
            env.autoColumns = app->app_hasiraauto;
            env.tatamiBorders = app->app_tatamiheri;
        }
        CPlotInfo plot = doc.m_PlotInfo;
        const int w = img.width(), h = img.height();
        const kov::platform::DevicePoint box[4] = {{0, 0}, {w, 0}, {w, h}, {0, h}};
        auto lineKind = [&](int kind) {
            switch (kind) {
            case 0: case 6: plot.DrawLineSwatch(dc, 0, 0, w, h, env); break;
            case 1: plot.DrawRectangleSwatch(dc, 0, 0, w, h, env); break;
            case 2: plot.DrawPolygonSwatch(dc, 0, 0, w, h, env); break;
            case 3: plot.DrawCircleSwatch(dc, 0, 0, w, h, env); break;
            case 4: plot.DrawArcSwatch(dc, 0, 0, w, h, env); break;
            default: break;
            }
        };
        if (one) {
            // The one selected object's own style.
            const CKovUnit& unit = doc.m_Unit;
            const SelectionRecord& sel = doc.m_Selection;
            if (!sel.m_Groups.empty()) {
                const CKovGroup* g = unit.FindGroup(sel.m_Groups.front());
                const CKovLine* first = (g && g->MGrpRoom == 1 && !g->MGrpLineID.empty())
                                            ? unit.FindLine(g->MGrpLineID.front()) : nullptr;
                if (first) {
                    CRoomInfo room = plot.m_RoomInfo;
                    room.Room_bRoomColor = first->MLinebNakanuri;
                    room.Room_RoomColor = first->MLineNakaColor;
                    room.Room_bHachColor = first->MLinebHach || g->MGrpLineID.size() > 1;
                    room.Room_HachColor = first->MLineColor;
                    room.Room_HachType = first->MLineHachT;
                    if (first->MLineParam.size() == 1 && first->MLineParam[0] != 0)
                        room.Room_HachKankaku = first->MLineParam[0];
                    room.DrawRoomSwatch(dc, box, 1, env);
                }
            } else if (!sel.m_Walls.empty()) {
                if (const CKovWall* wall = unit.FindWall(sel.m_Walls.front())) {
                    wall->StoreDefaults(plot);
                    if (wall->IsColumn()) plot.DrawColumnSwatch(dc, 0, 0, w, h, env);
                    else plot.DrawWallSwatch(dc, 0, 0, w, h, env);
                }
            } else if (!sel.m_Lines.empty()) {
                if (const CKovLine* line = unit.FindLine(sel.m_Lines.front())) {
                    line->StoreDefaultStyle(plot);
                    lineKind(line->MLineType);
                }
            }
        }
        switch (one ? -1 : doc.m_nToolMode) {
        case 1: plot.DrawWallSwatch(dc, 0, 0, w, h, env); break;
        case 2: plot.DrawColumnSwatch(dc, 0, 0, w, h, env); break;
        case 3: case 26: case 27: case 30: case 31: case 58: plot.DrawLineSwatch(dc, 0, 0, w, h, env); break;
        case 4: case 51: case 62: plot.DrawRectangleSwatch(dc, 0, 0, w, h, env); break;
        case 5: case 61: plot.DrawPolygonSwatch(dc, 0, 0, w, h, env); break;
        case 6: case 28: plot.DrawCircleSwatch(dc, 0, 0, w, h, env); break;
        case 7: case 25: case 29: plot.DrawArcSwatch(dc, 0, 0, w, h, env); break;
        case 8: doc.m_FontMenu.DrawTextSwatch(dc, (logicalDpiX() > 0 ? logicalDpiX() : 96) / 25.4, w, h); break;
        case 10: case 11: plot.m_RoomInfo.DrawRoomSwatch(dc, box, 1, env); break;
        default: break;
        }
    }
    m_sample->setPixmap(QPixmap::fromImage(img));
    if (auto* b = panelButton(PanelProperties)) b->setText(one ? QStringLiteral("編集") : QString());
}

void MainWindow::OnToolProperties()
{
    if (!m_document) return;
    CKoviraDoc& doc = *m_document;
    const int tool = doc.m_nToolMode;
    if (tool == 1 || tool == 2) {
        CallSelectTool();
        OnToolProperties();
        return;
    }
    if (tool == 9) return;
    CKoviraApp* app = CKoviraApp::Current();
    if (tool == 8) {
        if (app) PickFontRecord(doc.m_FontMenu, app->questions(), logicalDpiY() > 0 ? logicalDpiY() : 96);
    } else if (tool == 0) {
        const SelectionRecord& sel = doc.m_Selection;
        if (sel.m_nCount != 1) return;
        const CKovUnit& unit = doc.m_Unit;
        const PropertyFrame frame = propertyFrame();
        if (!sel.m_Texts.empty()) {
            OnEditSelectedText(doc, *m_view, frame);
        } else if (!sel.m_Groups.empty()) {
            const CKovGroup* g = unit.FindGroup(sel.m_Groups.front());
            if (!g || (g->MGrpRoom != 1 && g->MGrpRoom != 2)) return;
            if (g->MGrpRoom == 2) {
                // A fitting: its size dialog, as the context menu's size change.
                if (m_view) m_view->machine().OnChangeFittingSize();
            } else if (g->MGrpLineID.empty()) {
                doc.services().questions.message(kov::dialogs::proptext::kRoomWithoutColour);
                return;
            } else {
                if (doc.m_PlotInfo.PlotSirokuro != 0 &&
                    !doc.services().questions.askOkCancel(
                        "現在、白黒モードです。色の変更は表示上影響しませんが、実行しますか？"))
                    return;
                EditRoomProperties(doc, *m_view, g->MGrpID, frame);
            }
        } else if (!sel.m_Walls.empty()) {
            const CKovWall* w = unit.FindWall(sel.m_Walls.front());
            if (!w) return;
            if (w->IsColumn()) EditColumnProperties(doc, w->MWallID, frame);
            else EditWallProperties(doc, w->MWallID, frame);
        } else if (!sel.m_Lines.empty()) {
            if (!unit.FindLine(sel.m_Lines.front())) return;
            EditFigureProperties(doc, sel.m_Lines.front(), frame);
        }
    } else if (m_pToolDialog[14]) {
        m_pToolDialog[14]->show();
    }
    DrawToolSample();
    focusAndRedraw();
}

// -- help, guides, samples and the version check ------------------------------------------------------------------

void MainWindow::OnOpenSample()
{
    if (!m_document) return;
    CKoviraApp* app = CKoviraApp::Current();
    if (!app) return;
    CFileListDg dlg(FileListForm::FolderDocuments, "サンプルファイル取り込み", app->folders().samples,
                    m_document->services().profile, app->questions(), this);
    if (dlg.exec() != QDialog::Accepted || dlg.chosenPath().empty()) return;
    m_document->OpenAsNewDrawing(dlg.chosenPath());
    RefreshLayerBar();
    if (m_view) m_view->RedrawAll();
}

void MainWindow::OpenInstalledFile(const char* name, const char* fallback)
{
    CKoviraApp* app = CKoviraApp::Current();
    const std::filesystem::path root = app ? app->folders().installed : std::filesystem::path();
    bool found = false;
    auto tryOpen = [&root, &found](const char* n) {
        const std::filesystem::path f = root / n;
        std::error_code ec;
        if (!std::filesystem::exists(f, ec)) return false;
        found = true;
        return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(f.string())));
    };
    if (tryOpen(name) || (fallback && tryOpen(fallback))) return;
    // The file is there but nothing on this computer shows it: say so, not that it is missing.
    if (app) app->questions().message(found ? kHelpViewerMissing : kHelpMissing);
}

void MainWindow::OpenHomePage()
{
    const QUrl url(u(kHomePageAddress));
    if (QDesktopServices::openUrl(url) || QDesktopServices::openUrl(url)) return;
    if (CKoviraApp* app = CKoviraApp::Current()) app->questions().message(kHomePageFailed);
}

QString MainWindow::versionAddress() const
{
    if (auto* p = profile()) {
        const std::string a = p->GetProfileString(kSectionUtility, "app_version_url", "");
        if (!a.empty()) return QString::fromStdString(a);
    }
    return u(kVersionAddress);
}

void MainWindow::CheckForUpdate(std::function<void()> done)
{
    if (!m_versionFetch) m_versionFetch = new VersionFetch(this);
    m_versionFetch->start(QUrl(versionAddress()), 10000, [this, done](bool ok, QByteArray bytes) {
        CKoviraApp* app = CKoviraApp::Current();
        if (app) {
            ConcludeVersionCheck(ok, bytes, app->m_nVersion ? app->m_nVersion : kProgramVersion, app->questions(),
                                 [](const QUrl& url) { return QDesktopServices::openUrl(url); });
        }
        if (done) done();
    });
}

// -- close ---------------------------------------------------------------------------------------------------------

void MainWindow::saveLayoutAndSettings()
{
    kov::platform::Profile* p = profile();
    if (!p) return;
    SaveBarLayout(*p, saveState());
    static const int kOrder[] = {14, 0, 1, 2, 12, 3, 4, 5, 6, 7, 8, 9, 10, 11, 13};
    for (int slot : kOrder) {
        QWidget*& w = m_pToolDialog[static_cast<std::size_t>(slot)];
        kov::dialogs::CloseToolPanel(w);
        w = nullptr;
    }
    const QRect g = geometry();
    SaveWindowRect(*p, {g.x(), g.y(), g.width(), g.height()}, isMaximized(), isMinimized());
    m_document->m_PlotInfo.SaveProfile(*p);
    m_document->m_Grid.SaveProfile(*p);
    m_document->m_FontMenu.SaveProfile(*p);
    p->WriteProfileInt(kSectionUtility, "registset", 1);
    p->WriteProfileInt(kSectionUtility, "zutool", m_bDrawToolBarShown ? 1 : 0);
    p->WriteProfileInt(kSectionUtility, "grptool", m_bGroupToolBarShown ? 1 : 0);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    // A changed drawing asks to be saved first; cancelling keeps the window open with nothing saved.
    if (m_document && !m_document->CanCloseFrame()) {
        event->ignore();
        return;
    }
    if (m_document) saveLayoutAndSettings();
    event->accept();
}

} // namespace kov::app

// A walk over everything a person can reach: every command of the menus and the toolbars, every
// button of the tool panel and the layer bar, every item of the context menu and every tool, each
// run on a small drawing of two walls and a door with the door selected. A command fails the walk
// when it says that it comes later or is not ready, or when nothing at all follows from it: no
// change to the drawing, the selection, the view, the tool, the status bar, the bars' marks, no
// dialog, panel or question. Every command must also be taken by one of the window's routes.

#include "app/CommandIds.h"
#include "app/ContextMenu.h"
#include "app/KovView.h"
#include "app/KoviraApp.h"
#include "app/KoviraDoc.h"
#include "app/MainWindow.h"
#include "app/Menus.h"
#include "model/KovUnit.h"
#include "model/PictureFiles.h"
#include "model/SelectionRecord.h"
#include "platform/Folders.h"
#include "platform/Profile.h"
#include "platform/Questions.h"
#include "platform/RecordingSurface.h"
#include "tools/ToolMachine.h"
#include "tools/ToolTexts.h"

#include "ToolHarness.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QDialog>
#include <QDockWidget>
#include <QMimeData>
#include <QTimer>
#include <QTest>
#include <QTextBrowser>
#include <QToolBar>

#include <fstream>
#include <map>
#include <set>
#include <sstream>

namespace {

using namespace kov::app;
namespace cmd = kov::app::cmd;
namespace fs = std::filesystem;
using kov::platform::Answer;

const fs::path kLibrary = KOVIRA_LIBRARY_DATA;

// Answers every question the safe way (cancel, no) and every chooser with nothing, and keeps what
// was asked: a walk cannot know the questions ahead.
class LenientQuestions final : public kov::platform::Questions {
public:
    std::vector<std::string> asked;
    Answer messageBox(std::string_view text, std::string_view, kov::platform::MessageIcon,
                      kov::platform::Buttons buttons) override
    {
        asked.emplace_back(text);
        switch (buttons) {
        case kov::platform::Buttons::Ok: return Answer::Ok;
        case kov::platform::Buttons::OkCancel: return Answer::Cancel;
        default: return Answer::No;
        }
    }
    std::optional<uint32_t> chooseColor(uint32_t, kov::platform::CustomColors*) override
    {
        asked.emplace_back("colour");
        return std::nullopt;
    }
    std::optional<kov::platform::FontChoice> chooseFont(const kov::platform::FontChoice&) override
    {
        asked.emplace_back("font");
        return std::nullopt;
    }
    std::optional<fs::path> chooseFolder(std::string_view title, const fs::path&) override
    {
        asked.emplace_back(title);
        return std::nullopt;
    }
    std::optional<fs::path> chooseOpenFile(std::string_view title, std::string_view, const fs::path&) override
    {
        asked.emplace_back(title);
        return std::nullopt;
    }
    std::optional<fs::path> chooseSaveFile(std::string_view title, std::string_view, const fs::path&) override
    {
        asked.emplace_back(title);
        return std::nullopt;
    }
};

// Closes every modal dialog as soon as it shows, and keeps its title: cancelled, or accepted with
// the values it opened with (a dialog that refuses them is cancelled after a few tries).
class DialogCloser {
public:
    explicit DialogCloser(bool accept = false)
    {
        m_timer.setInterval(5);
        QObject::connect(&m_timer, &QTimer::timeout, [this, accept] {
            if (QWidget* w = QApplication::activeModalWidget()) {
                shown.push_back(w->windowTitle().toStdString() + "<" + w->metaObject()->className() + ">");
                auto* d = qobject_cast<QDialog*>(w);
                if (d && accept && ++m_tries[d] <= 3)
                    d->accept();
                else if (d)
                    d->reject();
                else
                    w->close();
            }
        });
        m_timer.start();
    }
    std::vector<std::string> shown;
    std::map<QDialog*, int> m_tries;

private:
    QTimer m_timer;
};

// Opened addresses (help pages, the home page) go to a text browser that is never shown, instead of
// to the desktop; its source is the last address opened.
struct AddressRecorder {
    QTextBrowser browser;
    AddressRecorder()
    {
        for (const char* scheme : {"file", "http", "https"})
            QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), &browser, "setSource");
    }
    ~AddressRecorder()
    {
        for (const char* scheme : {"file", "http", "https"}) QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    }
    bool opened() const { return !browser.source().isEmpty(); }
};

// What is selected when a command runs: the commands of one kind of object are offered only then.
enum class Scene { Door, Line, Text, Wall, Room, Picture, Dimension, Several, Nothing };
constexpr Scene kScenes[] = {Scene::Door,    Scene::Line,      Scene::Text,    Scene::Wall,   Scene::Room,
                             Scene::Picture, Scene::Dimension, Scene::Several, Scene::Nothing};

// The program as it starts, with a drawing of two walls along y = 910 and x = 910, a door in the
// first, a room, a line, a text, a dimension and a picture; the door selected.
struct WalkRig {
    kov::test::TempFolder temp;
    LenientQuestions questions;
    kov::platform::MemoryProfile* profile = nullptr;
    std::unique_ptr<CKoviraApp> app;
    std::unique_ptr<MainWindow> window;
    CKoviraDoc* doc = nullptr;
    int door = 0, room = 0, wall = 0, line = 0, text = 0, dimension = 0, picture = 0;

    WalkRig()
    {
        auto owned = std::make_unique<kov::platform::MemoryProfile>();
        profile = owned.get();
        profile->WriteProfileInt("KOV_T_UTILITY", "backing_flg", 0);
        // The dimension stays a dimension (not lines and a text).
        profile->WriteProfileInt("KOV_T_PlotMenu", "config_sunpo_bunkai", 0);
        // The version check asks a port where nothing listens.
        profile->WriteProfileString("KOV_T_UTILITY", "app_version_url", "http://127.0.0.1:9/version.txt");
        AppEnvironment env;
        env.profile = std::move(owned);
        env.questions = &questions;
        env.folders = kov::platform::Folders::under(kLibrary, temp.file("user"), temp.file("local"));
        env.folders.createWritableFolders();
        env.programFolder = temp.path().string();
        app = std::make_unique<CKoviraApp>(std::move(env));
        AppShellHooks hooks;
        hooks.createFrame = [this](CKoviraDoc& d) {
            window = std::make_unique<MainWindow>(&d);
            return true;
        };
        hooks.showMainWindow = [this](bool) {
            window->resize(1200, 800);
            window->show();
        };
        EXPECT_EQ(app->InitInstance({"kovira"}), 1);
        doc = app->document();
        // InitInstance without hooks made no window: make it now, as the shell does.
        if (!window) {
            window = std::make_unique<MainWindow>(doc);
            window->resize(1200, 800);
            window->show();
        }
        draw();
        // The docks and bars settle the view's size over a few rounds of events.
        for (int i = 0; i < 5; ++i) QTest::qWait(10);
        select(Scene::Door);
    }
    ~WalkRig()
    {
        window.reset();
        app->ExitInstance();
    }

    void draw()
    {
        kov::platform::RecordingSurface surface;
        kov::test::HarnessHost host{*doc, surface};
        kov::tools::ToolMachine m{host, kov::tools::ToolSettings{}};
        m.m_Page.OnSize(1600, 1000);
        CGrid& grid = doc->m_Grid;
        grid.GridW[0] = grid.GridD[0] = 910;
        grid.kyutyakukankaku = 2;
        grid.kyutyaku = 1;
        auto click = [&m](CDbPoint p) {
            const DevicePoint d = ToDevicePoint(p, *m.MakeTransform(), m.CurrentGroup());
            m.OnMouseMove(0, d);
            m.OnLButtonDown(kov::tools::MK_LBUTTON, d);
            m.OnLButtonUp(0, d);
        };
        m.StartTool(1);
        click({910, 910});
        click({4550, 910});
        m.StartTool(1);
        click({910, 910});
        click({910, 3640});
        m.StartTool(10);
        click({910, 910});
        click({3640, 3640});
        m.StartTool(9);
        click({910, 5460});
        click({3640, 5460});
        click({3640, 5915});
        m.CallSelectTool();
        doc->m_PlotInfo.PlotWallPita = 0;
        doc->m_PlotInfo.PlotLinePita = 0;
        m.StartTool(55);
        m.m_Fitting.kind = 2;
        m.m_Fitting.number = 1;
        click({1820, 910});
        click({2730, 910});
        click({2275, 1820});
        m.CallSelectTool();
        for (const auto& g : std::as_const(doc->m_Unit).m_Groups) {
            if (g->MGrpRoom == CKovGroup::FITTING) door = g->MGrpID;
            if (g->MGrpRoom == CKovGroup::ROOM) room = g->MGrpID;
        }
        for (const auto& w : std::as_const(doc->m_Unit).m_Walls) wall = w->MWallID;
        for (const auto& f : std::as_const(doc->m_Unit).m_Lines)
            if (f->MLineGrpID == 0 && f->MLineType == CKovLine::DIMENSION) dimension = f->MLineID;
        auto l = std::make_unique<CKovLine>();
        line = l->MLineID = doc->m_Unit.NextLineId();
        l->MLinePnt = {CDbPoint(5460, 910), CDbPoint(7280, 910), CDbPoint(7280, 2730)};
        l->MLineType = CKovLine::CONTINUOUS;
        doc->m_Unit.m_Lines.Add(std::move(l));
        auto t = std::make_unique<CKovText>();
        text = t->MTextID = doc->m_Unit.NextTextId();
        t->MTextstr = "居間";
        t->MTextpnt = CDbPoint(5460, 3640);
        doc->m_Unit.m_Texts.Add(std::move(t));
        picture = 900;
        const std::filesystem::path folder = doc->TempImageFolder();
        QImage image(4, 3, QImage::Format_RGB32);
        image.fill(Qt::red);
        SavePictureFile(image, TempImagePath(folder, picture, kPicturePng), kPicturePng);
        auto img = std::make_unique<CKovImage>();
        img->ImageID = picture;
        img->IMGImagetype = kPicturePng;
        img->ImageName = TempImagePath(folder, picture).string();
        img->OffsetX = 60;
        img->OffsetY = 60;
        img->ImageWidth = 10;
        img->ImageHeight = 7.5;
        doc->m_Unit.m_Images.Add(std::move(img));
        doc->AddTempImageNumber(std::uint32_t(picture));
        doc->SettleUndo();
    }

    void select(Scene scene)
    {
        SelectionRecord& s = doc->m_Selection;
        s.Clear();
        switch (scene) {
        case Scene::Door: s.AddGroupId(door); break;
        case Scene::Line: s.AddLineId(line); break;
        case Scene::Text: s.AddTextId(text); break;
        case Scene::Wall: s.AddWallId(wall); break;
        case Scene::Room: s.AddGroupId(room); break;
        case Scene::Picture: s.AddImageId(picture); break;
        case Scene::Dimension: s.AddLineId(dimension); break;
        case Scene::Several:
            s.AddLineId(line);
            s.AddTextId(text);
            s.AddLineId(dimension);
            break;
        case Scene::Nothing: break;
        }
        window->UpdateCommandStates();
    }
};

// Everything a command can change that a person would notice.
struct Trace {
    std::string document;
    std::string selection;
    std::string view;
    int tool = 0;
    std::string status;
    std::string marks;
    std::string windows;
    std::string clipboard;
    std::size_t questions = 0;
    std::size_t dialogs = 0;
    bool operator==(const Trace&) const = default;
};

std::string fileText(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

Trace traceOf(WalkRig& r, const DialogCloser& closer)
{
    Trace t;
    const fs::path file = r.temp.file("trace.kvr");
    r.doc->WriteDocumentFile(file);
    t.document = fileText(file);
    std::ostringstream sel;
    const SelectionRecord& s = r.doc->m_Selection;
    for (int id : s.m_Lines) sel << "L" << id;
    for (int id : s.m_Walls) sel << "W" << id;
    for (int id : s.m_Texts) sel << "T" << id;
    for (int id : s.m_Groups) sel << "G" << id;
    for (int id : s.m_Images) sel << "I" << id;
    t.selection = sel.str();
    kov::tools::ToolMachine& m = r.window->view()->machine();
    if (auto tr = m.MakeTransform()) {
        std::ostringstream v;
        v << tr->scaleX[0] << "," << tr->scaleY[0] << "," << tr->originX << "," << tr->originY << "," << m.m_nAxisLock;
        t.view = v.str();
    }
    t.tool = r.doc->m_nToolMode;
    t.status = r.window->statusText();
    std::ostringstream marks;
    for (QAction* a : r.window->findChildren<QAction*>())
        if (a->isCheckable()) marks << a->isChecked();
    for (QAbstractButton* b : r.window->findChildren<QAbstractButton*>())
        marks << b->isChecked() << b->text().toStdString() << b->property("iconName").toString().toStdString();
    for (QToolBar* b : r.window->findChildren<QToolBar*>()) marks << b->isVisible();
    for (QDockWidget* d : r.window->findChildren<QDockWidget*>()) marks << d->isVisible();
    t.marks = marks.str();
    std::ostringstream windows;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible()) windows << w->metaObject()->className() << w->windowTitle().toStdString() << ";";
    t.windows = windows.str();
    if (const QMimeData* d = QGuiApplication::clipboard()->mimeData()) t.clipboard = d->formats().join(",").toStdString();
    t.questions = r.questions.asked.size();
    t.dialogs = closer.shown.size();
    return t;
}

// Commands a walk leaves out: the end of the program, tested with the shut-down.
bool leftOut(int command)
{
    return command == cmd::AppExit;
}

enum class Way { Command, Button };

struct Outcome {
    bool comesLater = false;
    bool notReady = false;
    bool nothing = false;
    bool disabled = false;
    bool unrouted = false; // no route of the window took the command
};

// Keeps the window's warning that a command found no route, for as long as it lives.
class UnroutedWatch {
public:
    UnroutedWatch()
    {
        s_seen = false;
        s_previous = qInstallMessageHandler(&UnroutedWatch::handle);
    }
    ~UnroutedWatch() { qInstallMessageHandler(s_previous); }
    UnroutedWatch(const UnroutedWatch&) = delete;
    UnroutedWatch& operator=(const UnroutedWatch&) = delete;
    bool seen() const { return s_seen; }

private:
    static void handle(QtMsgType type, const QMessageLogContext& context, const QString& text)
    {
        if (type == QtWarningMsg && text.contains(QStringLiteral("has no route"))) s_seen = true;
        if (s_previous) s_previous(type, context, text);
    }
    static inline bool s_seen = false;
    static inline QtMessageHandler s_previous = nullptr;
};

Outcome walkOnce(int command, Way way, Scene scene, const std::function<void(WalkRig&)>& prepare,
                 bool acceptDialogs = false)
{
    WalkRig r;
    AddressRecorder addresses;
    r.select(scene);
    if (prepare) prepare(r);
    r.window->UpdateCommandStates();
    DialogCloser closer(acceptDialogs);
    Outcome o;
    o.disabled = way == Way::Command && !EvaluateCommand(command, r.window->commandContext()).enabled;
    const Trace before = traceOf(r, closer);
    UnroutedWatch unrouted;
    if (way == Way::Button)
        r.window->panelButton(command)->click();
    else if (!r.window->RunCommand(command))
        o.unrouted = true;
    if (unrouted.seen()) o.unrouted = true;
    QApplication::processEvents();
    // A tool that started takes a click in the middle of the drawing too.
    if (r.doc->m_nToolMode != before.tool && r.doc->m_nToolMode != 0) {
        kov::tools::ToolMachine& m = r.window->view()->machine();
        const DevicePoint d = ToDevicePoint({2730, 2730}, *m.MakeTransform(), m.CurrentGroup());
        m.OnMouseMove(0, d);
        m.OnLButtonDown(kov::tools::MK_LBUTTON, d);
        m.OnLButtonUp(0, d);
        QApplication::processEvents();
    }
    Trace after = traceOf(r, closer);
    // What answers later (the version check) gets a moment.
    for (int i = 0; i < 30 && before == after && !addresses.opened(); ++i) {
        QTest::qWait(10);
        after = traceOf(r, closer);
    }
    const std::string said = r.window->statusText() + r.window->prompt().toStdString();
    o.comesLater = said.find("今後の版") != std::string::npos;
    o.notReady = said.find("このツールの操作はまだ使えません") != std::string::npos;
    o.nothing = before == after && !addresses.opened();
    return o;
}

// Some commands have nothing to do on a fresh drawing: the walk gives them what they work on.
void prepareFor(int command, WalkRig& r)
{
    switch (command) {
    case cmd::EditRedo:
        r.window->RunCommand(cmd::Delete);
        r.window->RunCommand(cmd::EditUndo);
        break;
    case cmd::FitAll:
    case cmd::ZoomOut:
    case cmd::HandTool: {
        auto& page = r.window->view()->machine().m_Page;
        page.m_dZoom = 3;
        page.UpdateScrollSizes();
        break;
    }
    case cmd::AllAuxDelete:
        if (CKovLine* f = r.doc->m_Unit.FindLine(r.line)) f->MLineLineT = CKovLine::AUXILIARY_LINE_TYPE;
        break;
    case cmd::MildGradient:
        if (CKovLine* f = r.doc->m_Unit.FindLine(r.line)) {
            f->MLinebNakanuri = 1;
            f->MLineGradiation = 1;
            f->MLineNakaColor = 0xFF;
            f->MLineNakaColor2 = 0xFFFFFF;
        }
        break;
    case cmd::PanelSelect: r.window->RunCommand(cmd::PanelWall); break;
    case cmd::PanelMouseFree: r.window->RunCommand(cmd::PanelMouseAxisLock); break;
    // The state button of the layer group in use changes nothing: another group is made current.
    case cmd::LayerState0: r.window->panelButton(cmd::LayerNumber1)->click(); break;
    case cmd::ColumnThicknessOfSelection: {
        const int column = r.doc->m_Unit.AddColumn({4550, 3640}, {4550, 3640}, 60, r.doc->m_PlotInfo);
        r.doc->m_Selection.Clear();
        r.doc->m_Selection.AddWallId(column);
        break;
    }
    case 33941: { // the picture on the clipboard
        QImage image(8, 6, QImage::Format_RGB32);
        image.fill(Qt::blue);
        QGuiApplication::clipboard()->setImage(image);
        break;
    }
    default: break;
    }
}

// Runs the command on each kind of selection until one where it is offered shows its effect.
void expectWorks(int command, std::string_view where, Way way = Way::Command)
{
    SCOPED_TRACE(testing::Message() << where << " " << command);
    bool offered = false;
    bool worked = false;
    for (Scene scene : kScenes) {
        const Outcome o = walkOnce(command, way, scene, [command](WalkRig& r) { prepareFor(command, r); });
        EXPECT_FALSE(o.comesLater) << "comes later";
        EXPECT_FALSE(o.notReady) << "not ready";
        EXPECT_FALSE(o.unrouted) << "no route takes it";
        if (o.disabled) continue;
        offered = true;
        if (!o.nothing) {
            worked = true;
            break;
        }
    }
    EXPECT_TRUE(offered) << "never offered";
    EXPECT_TRUE(worked) << "nothing happens";
}

TEST(EveryCommand, MenusAndToolBars)
{
    std::set<int> commands;
    for (const MenuDef& menu : MainMenus())
        for (const MenuItem& item : menu.items)
            if (item.command && !leftOut(item.command)) commands.insert(item.command);
    for (const ToolBarDef& bar : ToolBars())
        for (int c : bar.commands)
            if (c && !leftOut(c)) commands.insert(c);
    ASSERT_GT(commands.size(), 150u);
    for (int c : commands) {
        std::string buf;
        const MenuItem* item = FindMenuItem(c);
        expectWorks(c, item ? StripAccessKey(item->text, buf) : "toolbar");
    }
}

TEST(EveryCommand, ToolPanelAndLayerBar)
{
    std::vector<int> buttons;
    WalkRig probe;
    for (int c = 1; c < 3000; ++c)
        if (probe.window->panelButton(c)) buttons.push_back(c);
    ASSERT_GT(buttons.size(), 30u);
    for (int c : buttons) expectWorks(c, "panel", Way::Button);
}

TEST(EveryCommand, ContextMenuOfEachSelection)
{
    WalkRig probe;
    ASSERT_NE(probe.door, 0);
    ASSERT_NE(probe.room, 0);
    ASSERT_NE(probe.dimension, 0);
    std::set<int> commands;
    for (Scene scene : kScenes) {
        probe.select(scene);
        for (const ContextItem& i : ContextMenuItems(probe.doc->m_Unit, probe.doc->m_Selection, ContextMenuState{}))
            if (i.command) commands.insert(i.command);
    }
    ASSERT_GT(commands.size(), 30u);
    for (int c : commands) expectWorks(c, "context menu");
}

TEST(EveryCommand, EveryTool)
{
    for (const kov::tools::ToolInfo& info : kov::tools::ToolTable()) {
        if (info.number == 0 || info.command == 0) continue;
        expectWorks(info.command, info.menuText);
    }
}

} // namespace

// Builds the sample drawings the program ships (data/sample), only through the container's own
// operations, and saves them as documents. Run by hand after a change to the drawing model:
//   build/test/tests/kov_make_samples data/sample

#include "app/KoviraDoc.h"

#include "building/RoomSettings.h"
#include "model/DrawTransform.h"
#include "platform/Profile.h"
#include "platform/Questions.h"

#include <QGuiApplication>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

namespace {

constexpr std::uint32_t rgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) { return r | (g << 8) | (b << 16); }

struct Builder {
    kov::app::CKoviraDoc& doc;
    DeviceTransform transform;
    RoomSettings settings;
    SelectionRecord selection;
    double ox = 0, oy = 0;   // the plan's top left corner on the sheet

    explicit Builder(kov::app::CKoviraDoc& d, double x, double y) : doc(d), ox(x), oy(y)
    {
        transform.scaleX.fill(0.06);
        transform.scaleY.fill(0.06);
        transform.paperScale = 4.0;
        settings.room_heyack_jyou = 1;
    }

    bool room(const char* name, double x, double y, double w, double h, int fill, std::uint32_t colour, int hatch = 0,
              int hatchType = 0)
    {
        CRoomInfo& r = doc.m_PlotInfo.m_RoomInfo;
        r.Room_Name = name;
        r.Room_bRoomColor = fill;
        r.Room_RoomColor = colour;
        r.Room_bHachColor = hatch;
        r.Room_HachColor = rgb(150, 150, 150);
        r.Room_HachType = hatchType;
        r.Room_HachKankaku = 3.0;
        return doc.m_Unit.CreateRectRoom(transform, ox + x, oy + y, ox + x + w, oy + y + h, doc.m_PlotInfo,
                                         doc.m_FontMenu, selection, doc.m_Grid, settings) == 1;
    }

    void text(const char* s, double x, double y, double size)
    {
        CFontMenu f = doc.m_FontMenu;
        f.m_size = size;
        doc.m_Unit.AddText(f, {ox + x, oy + y}, s, doc.m_PlotInfo, selection, 0, 0);
    }

    void dimension(double x1, double y1, double x2, double y2, double px, double py)
    {
        doc.m_Unit.AddDimensionLine(doc.m_PlotInfo, {{ox + x1, oy + y1}, {ox + x2, oy + y2}}, {ox + px, oy + py});
    }

    void column(double x, double y)
    {
        doc.m_Unit.AddColumn({ox + x, oy + y}, {ox + x, oy + y}, 60.0, doc.m_PlotInfo);
    }
};

// A small house: a Japanese room, a living room, a kitchen and an L-shaped hall, with dimensions.
bool smallHouse(kov::app::CKoviraDoc& doc)
{
    Builder b(doc, -4550, -3200);
    bool ok = b.room("和室", 0, 0, 2730, 3640, 0, 0);
    ok = ok && b.room("洋室", 2730, 0, 3640, 3640, 1, rgb(255, 236, 200), 1, 100);
    ok = ok && b.room("台所", 6370, 0, 2730, 3640, 1, rgb(200, 230, 255));
    CRoomInfo& r = doc.m_PlotInfo.m_RoomInfo;
    r.Room_Name = "廊下";
    r.Room_bRoomColor = 1;
    r.Room_RoomColor = rgb(235, 235, 235);
    r.Room_bHachColor = 0;
    const CDbPointArray hall = {{b.ox, b.oy + 3640}, {b.ox, b.oy + 5460}, {b.ox + 4550, b.oy + 5460},
                                {b.ox + 4550, b.oy + 4550}, {b.ox + 9100, b.oy + 4550}, {b.ox + 9100, b.oy + 3640}};
    ok = ok && doc.m_Unit.CreatePolygonRoom(b.transform, hall, hall[0], doc.m_PlotInfo, doc.m_FontMenu, b.selection,
                                            doc.m_Grid, b.settings) == 1;
    for (double x : {0.0, 2730.0, 6370.0, 9100.0}) b.column(x, 0);
    b.dimension(0, 0, 2730, 0, 0, -900);
    b.dimension(2730, 0, 6370, 0, 2730, -900);
    b.dimension(6370, 0, 9100, 0, 6370, -900);
    b.dimension(0, 0, 0, 5460, -900, 0);
    b.text("小さな家　平面図　1/100", 0, 6600, 5.0);
    return ok;
}

// A flat: one living room, a bedroom, bath, toilet and entrance around a corridor.
bool flat(kov::app::CKoviraDoc& doc)
{
    Builder b(doc, -4000, -3500);
    bool ok = b.room("居室", 0, 0, 4550, 3640, 1, rgb(255, 240, 215), 1, 100);
    ok = ok && b.room("寝室", 4550, 0, 3640, 3640, 1, rgb(225, 240, 225));
    ok = ok && b.room("浴室", 0, 3640, 1820, 1820, 1, rgb(200, 225, 255), 1, 1);
    ok = ok && b.room("洗面", 1820, 3640, 1820, 1820, 1, rgb(215, 235, 255));
    ok = ok && b.room("トイレ", 3640, 3640, 910, 1820, 1, rgb(215, 235, 255));
    ok = ok && b.room("廊下", 4550, 3640, 1820, 1820, 1, rgb(240, 240, 240));
    ok = ok && b.room("玄関", 6370, 3640, 1820, 1820, 1, rgb(230, 220, 210), 1, 1);
    b.dimension(0, 0, 4550, 0, 0, -900);
    b.dimension(4550, 0, 8190, 0, 4550, -900);
    b.dimension(8190, 0, 8190, 5460, 9100, 0);
    b.text("ワンルームの住まい　平面図　1/100", 0, 6600, 5.0);
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const std::filesystem::path out = argc > 1 ? argv[1] : "data/sample";
    std::filesystem::create_directories(out);
    kov::platform::MemoryProfile profile;
    kov::platform::ScriptedQuestions questions([](const std::string& failure) { std::fprintf(stderr, "%s\n", failure.c_str()); });
    const std::filesystem::path scratch = std::filesystem::temp_directory_path() / "kovira-samples";
    kov::app::DocumentServices services{profile, questions,
                                        kov::platform::Folders::under(scratch / "installed", scratch / "user", scratch / "local"),
                                        scratch.string()};
    struct Sample { const char* file; std::function<bool(kov::app::CKoviraDoc&)> build; };
    const Sample samples[] = {{"小さな家.kvr", smallHouse}, {"ワンルーム.kvr", flat}};
    int failures = 0;
    for (const Sample& s : samples) {
        kov::app::CKoviraDoc doc(services);
        doc.OnNewDocument();
        doc.m_FontMenu.lfFaceName = "ＭＳ ゴシック";
        doc.m_FontMenu.m_size = 2.5;
        if (!s.build(doc)) {
            std::fprintf(stderr, "%s: a room could not be made\n", s.file);
            ++failures;
            continue;
        }
        doc.m_Selection.Clear();
        std::string error;
        if (!doc.WriteDocumentFile(out / s.file, &error)) {
            std::fprintf(stderr, "%s: %s\n", s.file, error.c_str());
            ++failures;
        }
    }
    return failures ? 1 : 0;
}

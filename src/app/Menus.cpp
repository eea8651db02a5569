#include "app/Menus.h"

#include "app/CommandIds.h"

#include <string>
#include <unordered_map>

namespace kov::app {

using namespace cmd;

const std::vector<MenuDef>& MainMenus()
{
    static const std::vector<MenuDef> menus{
        {"ファイル(&F)",
         {{FileNew, "新規作成(&N)", "Ctrl+N", "new"},
          {FileOpen, "開く(&O)...", "Ctrl+O", "open"},
          {FileSave, "上書き保存(&S)", "Ctrl+S", "save"},
          {FileSaveAs, "名前を付けて保存(&A)...", "", ""},
          {0},
          {OpenSample, "ｻﾝﾌﾟﾙﾌｧｲﾙを開く(&W)...", "", ""},
          {OpenBackup, "ﾊﾞｯｸｱｯﾌﾟﾌｧｲﾙを開く(&B)...", "", ""},
          {RecentList, "最近使用したファイル一覧(&L)...", "", ""},
          {MergeDrawing, "図面合成(&G)...", "", ""},
          {0},
          {ImportDxf, "DXF読み込み(&X)...", "", "", "読み込み(&I)"},
          {ImportJw, "JW_CAD(JWW,JWC)読み込み(&J)...", "", "", "読み込み(&I)"},
          {ImportJwsJwk, "JWS,JWK取り込み(&K)...", "", "", "読み込み(&I)"},
          {ImportSibling, "コビラファイル読み込み", "", "", "読み込み(&I)"},
          {ImportXe3, "コビラＸＥ３形式読み込み(&M)...", "", "", "読み込み(&I)"},
          {ImportVerda2, "ヴェルダ２形式読み込み(&Z)...", "", "", "読み込み(&I)"},
          {ImportCoordinates, "座標ファイル(csv,txt)から多角形、連続線を作成する", "", "", "読み込み(&I)"},
          {ExportDxf, "DXF出力(&D)...", "", "", "出力(&E)"},
          {ExportJw, "JW_CAD(JWW,JWC)出力(&J)...", "", "", "出力(&E)"},
          {ExportSibling, "コビラ出力", "", "", "出力(&E)"},
          {ExportXe3, "コビラＸＥ３形式出力(&M)...", "", "", "出力(&E)"},
          {SaveImage, "イメージ通りに出力(&G)...", "", "", "出力(&E)"},
          {SaveRangeImage, "範囲を決めて出力(&H)", "", "saverange", "出力(&E)"},
          {CopyAsPicture, "ｸﾘｯﾌﾟボﾞｰﾄに画像としてｺﾋﾟｰ（&G）", "", "", "出力(&E)"},
          {0},
          {PageSetup, "用紙設定(&Y)...", "", ""},
          {PrintOffset, "印刷位置調整...", "", ""},
          {FilePrintPreview, "印刷ﾌﾟﾚﾋﾞｭｰ(&O)...", "", "preview"},
          {FilePrint, "印刷(&P)...", "Ctrl+P", "print"},
          {PartialPrint, "部分印刷", "", ""},
          {0},
          {AppExit, "アプリケーションの終了(&X)", "", ""}}},
        {"編集(&E)",
         {{EditUndo, "元に戻す(&U)", "Ctrl+Z", "undo"},
          {EditRedo, "やり直し(&R)", "Ctrl+Y", "redo"},
          {0},
          {EditCopy, "コピー(&C)", "Ctrl+C", ""},
          {PastePicture, "ｸﾘｯﾌﾟﾎﾞｰﾄﾞの画像を貼り付け(&P)", "", ""},
          {CopyNumeric, "コピー（数値）(&X)...", "", ""},
          {Move, "移動(&M)...", "", ""},
          {Delete, "削除(&D)", "Del", ""},
          {0},
          {Group, "グループ化する(&G)", "", ""},
          {Ungroup, "グループ化解除(&O)", "", ""},
          {SaveGroup, "グループの保存...(&S)", "", ""},
          {MirrorLeftRight, "グループの左右反転(&R)", "", "mirrorlr", "グループ(&P)"},
          {MirrorTopBottom, "グループの上下反転(&J)", "", "mirrortb", "グループ(&P)"},
          {RotateLeft90, "左に90度回転(&L)", "", "rotleft", "グループ(&P)"},
          {RotateRight90, "右に90度回転(&R)", "", "rotright", "グループ(&P)"},
          {RotateOther, "他の角度の回転(&K)...", "", "rotate", "グループ(&P)"},
          {StretchGroup, "グループの伸縮(&N)...", "", "stretch", "グループ(&P)"},
          {ToTop, "レイヤー内最上層へ移動(&O)", "", ""},
          {ToBottom, "レイヤー内最下層へ移動(&B)", "", ""},
          {0},
          {EditSelectedText, "選択文字の修正(&F)...", "", ""},
          {LineColour, "線、文字部分の色変更(&C)...", "", "", "色と塗り(&I)"},
          {FillColour, "塗りつぶし部分の色変更(&N)...", "", "", "色と塗り(&I)"},
          {NoFill, "塗りつぶしなしにする(&D)", "", "", "色と塗り(&I)"},
          {ColourNoFill, "塗りつぶしなしに色を付ける(&A)...", "", "", "色と塗り(&I)"},
          {Opacity, "不透明度の変更(&L)...", "", "", "色と塗り(&I)"},
          {GradientDirection, "グラデーション方向変更...(&K)", "", "", "色と塗り(&I)"},
          {MildGradient, "グラデーションのマイルド化(&M)", "", "", "色と塗り(&I)"},
          {MakeHatch, "模様（ハッチ）作成", "", "", "色と塗り(&I)"},
          {PatternsToLines, "図形模様を直線グループに一括変換(&D)", "", "", "色と塗り(&I)"},
          {0},
          {PolylineToLines, "多角形、連続線を単線化(&B)", "", "", "変換(&V)"},
          {ChamferPolylineCorners, "連続線、多角形の角を角面や丸面でつなぐ", "", "", "変換(&V)"},
          {DimensionToLines, "寸法線を文字線化(&W)", "", "", "変換(&V)"},
          {AllAuxDelete, "補助線全削除", "", "", "変換(&V)"},
          {WallThicknessOfSelection, "選択壁厚変更...", "", ""},
          {ColumnThicknessOfSelection, "選択柱厚変更", "", ""},
          {PickAttributes, "属性取得", "", ""}}},
        {"作図(&D)",
         {{ToolLine, "直線・矢印(&L)", "", "line"},
          {ToolDoubleLine, "二重線(&N)", "", "doubleline"},
          {ToolContinuousLine, "連続線(&W)", "", "polyline"},
          {ToolRectangle, "四角形(&R)", "", "rectangle"},
          {ToolRoundedRectangle, "角丸四角形(&K)", "", "roundrect"},
          {ToolSizedRectangle, "寸法指定四角形", "", ""},
          {ToolPolygon, "多角形(&P)", "", "polygon"},
          {ToolDoubleLinePolygon, "二重線多角形(&D)", "", "dlpolygon"},
          {ToolCircle, "円(&C)", "", "circle"},
          {ToolArc, "円弧・扇形・弦(&E)", "", "arc"},
          {ToolThreePointArc, "三点円弧作成(&E)", "", "threepointarc"},
          {ToolEllipse, "楕円作成(&Y)", "", "ellipse"},
          {ToolEllipticArc, "円弧楕円作成(&P)", "", "ellipticarc"},
          {ToolSpline, "スプライン曲線(&S)", "", "spline"},
          {ToolBezier, "ベジェ曲線(&B)", "", "bezier"},
          {ToolFreeCurve, "フリー曲線(&F)", "", "freecurve"},
          {ToolBalloon, "吹き出し(&H)...", "", "balloon"},
          {ToolDimension, "寸法線(&S)", "", "dimension"},
          {AutoDimensions, "寸法線自動作成(&L)...", "", ""},
          {0},
          {ToolLengthLine, "長さ指定線", "", "", "線の加工(&T)"},
          {ToolAngleLine, "角度指定線", "", "", "線の加工(&T)"},
          {ToolPerpendicular, "垂直線", "", "", "線の加工(&T)"},
          {ToolOffsetLine, "複線", "", "", "線の加工(&T)"},
          {ToolTwoLines, "２線", "", "", "線の加工(&T)"},
          {ToolCircleTangent, "円接線", "", "", "線の加工(&T)"},
          {ToolLineErase, "線消", "", "", "線の加工(&T)"},
          {ToolLineCut, "線切断", "", "", "線の加工(&T)"},
          {ToolLinePartDelete, "線部分削除", "", "", "線の加工(&T)"},
          {ToolLineStretch, "線伸縮", "", "", "線の加工(&T)"},
          {ToolDivideLine, "分割線", "", "", "線の加工(&T)"},
          {ToolDivide, "分割", "", "", "線の加工(&T)"},
          {ToolEnvelope, "包絡", "", "", "線の加工(&T)"},
          {ToolCorner, "コーナー処理", "", "", "線の加工(&T)"},
          {ToolChamfer, "面取", "", "", "線の加工(&T)"},
          {ToolJoinLines, "線結合で連続線、多角形化（&K）", "", "", "線の加工(&T)"},
          {ToolWallPartDelete, "壁の部分削除(&L)", "", "", "線の加工(&T)"},
          {ToolRangeMove, "囲った内容を移動(&V)", "", "", "範囲(&A)"},
          {ToolRangeCopy, "囲った内容を複写(&M)", "", "", "範囲(&A)"},
          {ToolRangeMirrorLR, "囲った内容を左右反転(&R)", "", "", "範囲(&A)"},
          {ToolRangeMirrorTB, "囲った内容を上下反転(&J)", "", "", "範囲(&A)"},
          {ToolRangeRotateLeft, "囲った内容を左90度回転(&L)", "", "", "範囲(&A)"},
          {ToolRangeRotateRight, "囲った内容を右90度回転(&R)", "", "", "範囲(&A)"},
          {ToolRangeRotate, "囲った内容を回転...(&K)", "", "", "範囲(&A)"},
          {ToolRangeStretch, "囲った内容を伸縮(&S)...", "", "", "範囲(&A)"},
          {ToolRangeDelete, "囲った内容を削除(&D)", "", "", "範囲(&A)"},
          {ToolPartStretch, "部分伸縮", "", "", "範囲(&A)"},
          {ToolMirrorMove, "反転移動", "", "", "範囲(&A)"},
          {0},
          {ToolRoof, "屋根作成", "", "", "建築(&K)"},
          {ToolOuterWallLine, "外壁線作成", "", "", "建築(&K)"},
          {ToolBalcony, "バルコニー作成", "", "", "建築(&K)"},
          {ToolElevation, "立面図自動作成", "", "", "建築(&K)"},
          {ToolAutoAxes, "自動通り芯作成", "", "", "建築(&K)"},
          {ToolSymbols, "表示記号の作成", "", "", "建築(&K)"}}},
        {"測定(&M)",
         {{MeasureLength, "選択物長さ、周囲測定", "", ""},
          {MeasureArea, "選択物面積測定", "", ""},
          {MeasureRoomArea, "選択部屋の面積測定", "", ""},
          {ToolMeasureAngle, "角度測定", "", ""},
          {ToolAreaSum, "面積累計", "", ""},
          {ToolLengthSum, "長さ累計", "", ""},
          {ToolTwoPointDistance, "２点からの距離", "", ""},
          {ObjectCount, "オブジェクト数", "", ""}}},
        {"表示(&V)",
         {{ZoomIn, "拡大表示(&I)", "", "zoomin"},
          {RangeZoom, "範囲拡大表示(&H)", "", "rangezoom"},
          {ZoomOut, "縮小表示(&O)", "", "zoomout"},
          {FitAll, "全体表示(&A)", "", "fitall"},
          {HandTool, "手のひらツール(&H)", "", "hand"},
          {ToolDrawingCentre, "図面中心点変更(&O)", "", ""},
          {0},
          {GridShown, "グリッドの表示(&G)", "", "grid"},
          {GridSpacing, "グリッド間隔の設定(&G)...", "", "gridspacing"},
          {DimOtherLayers, "レイヤー編集中以外淡色表示(&W)", "", ""},
          {TraceMode, "下絵なぞりモード(&N)", "", "trace"},
          {ToggleIntersectionSnap, "交点吸着", "", ""},
          {0},
          {ViewToolBar, "ﾌｧｲﾙﾂｰﾙ ﾊﾞｰ(&T)", "", "", "ツールバー"},
          {DrawToolBar, "作図ﾂｰﾙ ﾊﾞｰ(&S)", "", "", "ツールバー"},
          {GroupToolBar, "ｸﾞﾙｰﾌﾟﾂｰﾙﾊﾞｰ(&G)", "", "", "ツールバー"},
          {ViewStatusBar, "ステータスバー(&S)", "", ""}}},
        {"レイヤー(&L)",
         {{ChangeLayerOfSelection, "選択物のレイヤー変更(&S)...", "", ""},
          {LayerSelectAll, "レイヤー全選択状態(&E)...", "", ""},
          {LayerMoveMerge, "レイヤーの移動合成(&M)...", "", ""},
          {LayerCopyMerge, "レイヤーのコピー合成(&C)...", "", ""},
          {LayerName, "レイヤー名の設定(&N)...", "", ""}}},
        {"ツール(&T)",
         {{Settings, "設定(&K)...", "", "settings"}}},
        {"ヘルプ(&H)",
         {{Help, "ヘルプの起動", "F1", ""},
          {Guide1, "基本操作編１", "", ""},
          {Guide2, "基本操作編２", "", ""},
          {Readme, "お読みくださいの表示(&R)...", "", ""},
          {HomePage, "クエンロールホームページ(&W)...", "", ""},
          {CheckForUpdate, "最新バージョン更新の確認", "", ""},
          {0},
          {AppAbout, "バージョン情報(&A)...", "", ""}}},
    };
    return menus;
}

const std::vector<ToolBarDef>& ToolBars()
{
    static const std::vector<ToolBarDef> bars{
        {ViewToolBar, "fileToolBar", "ﾌｧｲﾙﾂｰﾙ ﾊﾞｰ",
         {FileNew, FileOpen, FileSave, SaveRangeImage, FilePrintPreview, FilePrint, 0, EditUndo, EditRedo, 0, HandTool,
          ZoomIn, RangeZoom, ZoomOut, FitAll, 0, GridShown, TraceMode, 0, GridSpacing, Settings}},
        {DrawToolBar, "drawToolBar", "作図ﾂｰﾙ ﾊﾞｰ",
         {ToolLine, ToolDoubleLine, ToolContinuousLine, ToolRectangle, ToolRoundedRectangle, ToolPolygon,
          ToolDoubleLinePolygon, ToolCircle, ToolArc, ToolSpline, ToolBezier, ToolFreeCurve, ToolThreePointArc,
          ToolEllipse, ToolEllipticArc, ToolBalloon, ToolDimension}},
        {GroupToolBar, "groupToolBar", "ｸﾞﾙｰﾌﾟﾂｰﾙﾊﾞｰ",
         {MirrorLeftRight, MirrorTopBottom, RotateLeft90, RotateRight90, RotateOther, StretchGroup}},
    };
    return bars;
}

const MenuItem* FindMenuItem(int command)
{
    static const std::unordered_map<int, const MenuItem*> index = [] {
        std::unordered_map<int, const MenuItem*> m;
        for (const auto& menu : MainMenus())
            for (const auto& item : menu.items)
                if (item.command) m.emplace(item.command, &item);
        return m;
    }();
    auto it = index.find(command);
    return it == index.end() ? nullptr : it->second;
}

std::string_view StripAccessKey(std::string_view text, std::string& buffer)
{
    buffer.clear();
    for (char c : text)
        if (c != '&') buffer += c;
    auto endsWith = [&buffer](std::string_view tail) {
        return buffer.size() >= tail.size() && buffer.compare(buffer.size() - tail.size(), tail.size(), tail) == 0;
    };
    // What the access key leaves, "(K)" or "（K）", and the ellipsis, in either order.
    for (bool changed = true; changed;) {
        changed = false;
        if (endsWith("...")) {
            buffer.resize(buffer.size() - 3);
            changed = true;
        }
        if (endsWith(")") && buffer.size() >= 3 && buffer[buffer.size() - 3] == '(') {
            buffer.resize(buffer.size() - 3);
            changed = true;
        }
        if (endsWith("）") && buffer.size() >= 7 && buffer.compare(buffer.size() - 7, 3, "（") == 0) {
            buffer.resize(buffer.size() - 7);
            changed = true;
        }
    }
    return buffer;
}

} // namespace kov::app

// The seventy-one tools: their commands, first prompts, what their starts do and how the right
// button ends them.

#include "tools/ToolMachine.h"

namespace kov::tools {

namespace {

constexpr std::string_view kRangeFirst = "範囲一点目をクリック";
constexpr std::string_view kDrag = "クリックドラッグして範囲を決める";
constexpr std::string_view kMulti = "左ｸﾘｯｸで位置指定、Wクリックで終了";

std::array<ToolInfo, 72> makeTable()
{
    using R = RightRule;
    std::array<ToolInfo, 72> t{};
    auto row = [&t](int n, int cmd, std::string_view menu, std::string_view starts, std::string_view prompt,
                    RightRule right, bool built) { t[static_cast<std::size_t>(n)] = {n, cmd, menu, prompt, starts, right, built}; };
    row(0, 0, "", "", "選択モード", R::Ends, true);
    row(1, 1007, "壁作成ツール", "RSP", "２点指定で壁作成", R::All, true);
    row(2, 0, "", "", "", R::All, true);
    row(3, 32887, "直線・矢印(&L)", "RSP", "２点指定で線作成", R::All, true);
    row(4, 32888, "四角形(&R)", "RSP", "２点指定で四角形作成", R::All, true);
    row(5, 32889, "多角形(&P)", "RSP",
        "左ｸﾘｯｸで頂点設定、右ｸﾘｯｸで直前点ｷｬﾝｾﾙ（開始点と同じ点指定で終了）", R::Last, true);
    row(6, 32890, "円(&C)", "RSP", "中心点と半径指定で円作成", R::All, true);
    row(7, 32891, "円弧・扇形・弦(&E)", "RSP", "中心点、半径、開始、終了点指定円弧作成", R::All, true);
    row(8, 1014, "文字", "RSP", "", R::All, true);
    row(9, 33909, "寸法線(&S)", "URPS", "開始点、終了点、寸法高さをクリック", R::All, true);
    row(10, 1259, "四角形部屋作成ツール", "RSP", "２点指定で四角形部屋作成", R::All, true);
    row(11, 1258, "多角形部屋作成ツール", "RSP", "ｸﾘｯｸしていき多角形部屋作成（開始点と同じ点指定で終了）", R::Last,
        true);
    row(12, 32806, "範囲を決めて出力(&H)", "URPS", kDrag, R::Ends, true);
    row(13, 32807, "ｸﾘｯﾌﾟボﾞｰﾄに画像としてｺﾋﾟｰ（&G）", "PS", kDrag, R::Ends, true);
    row(14, 32822, "属性取得", "PS", "ｸﾘｯｸした要素（ﾚｲﾔｰ）を取得する", R::Ends, true);
    row(15, 32831, "長さ指定線", "URPS", "左ｸﾘｯｸで位置指定", R::Ends, true);
    row(16, 32842, "角度指定線", "URP", "一点目をクリック", R::Ends, true);
    row(17, 32879, "垂直線", "URP", "基準線上をクリック", R::Ends, true);
    row(18, 32839, "線切断", "URPS", "切断したい線の上をクリック", R::Ends, true);
    row(19, 32840, "線部分削除", "URP", "線上の切断開始点をクリック", R::Ends, true);
    row(20, 32841, "線消", "URPS", "ｸﾘｯｸした線を削除（ｸﾞﾙｰﾌﾟの要素は不可）", R::Ends, true);
    row(21, 32823, "複線", "SPUR", "基準線上をクリック", R::Ends, true);
    row(22, 32844, "２線", "URPS", "基準線上をクリック", R::Ends, true);
    row(23, 32832, "円接線", "URP", "円周上の点か、円へ接する線をひく指定点をクリック", R::Ends, true);
    row(24, 0, "", "", "", R::Ends, true);
    row(25, 32851, "三点円弧作成(&E)", "URPS", "円弧開始点をクリック", R::Ends, true);
    row(26, 32883, "連続線(&W)", "URPS", kMulti, R::Last, true);
    row(27, 32885, "二重線(&N)", "URPS", kMulti, R::Last, true);
    row(28, 32863, "楕円作成(&Y)", "URPS", "中心点をクリック", R::Ends, true);
    row(29, 32864, "円弧楕円作成(&P)", "URPS", "左クリックで中心点をクリック", R::Ends, true);
    row(30, 32867, "スプライン曲線(&S)", "URPS", "ｸﾘｯｸした点を通る曲線作成Ｗｸﾘｯｸで終了", R::Last, true);
    row(31, 32868, "ベジェ曲線(&B)", "URPS", "滑らかな曲線（ﾍﾞｼﾞｪ）作成、Ｗｸﾘｯｸで終了", R::Last, true);
    row(32, 32828, "線伸縮", "URSP", "基準線(または円、円弧)上をクリック", R::Ends, true);
    row(33, 32827, "分割線", "URP", "分割一点目をクリック", R::Ends, true);
    row(34, 32843, "包絡", "URPS", "一点目をクリック", R::Ends, true);
    row(35, 32847, "コーナー処理", "URPS", "コーナー処理する線上をクリック", R::Ends, true);
    row(36, 32886, "面取", "URPS", "面取りする二つの線上をクリック", R::Ends, true);
    row(37, 32824, "図面中心点変更(&O)", "UR", "画面中心となる位置をクリック", R::Ends, true);
    row(38, 32860, "囲った内容を移動(&V)", "URPS", kRangeFirst, R::Ends, true);
    row(39, 32854, "囲った内容を複写(&M)", "URPS", kRangeFirst, R::Ends, true);
    row(40, 32856, "囲った内容を左右反転(&R)", "URPS", kRangeFirst, R::Ends, true);
    row(41, 33921, "囲った内容を上下反転(&J)", "URPS", kRangeFirst, R::Ends, true);
    row(42, 32875, "囲った内容を左90度回転(&L)", "URPS", kRangeFirst, R::Ends, true);
    row(43, 32876, "囲った内容を右90度回転(&R)", "URPS", kRangeFirst, R::Ends, true);
    row(44, 33966, "囲った内容を回転...(&K)", "URPS", kRangeFirst, R::Ends, true);
    row(45, 33931, "囲った内容を伸縮(&S)...", "URPS", kRangeFirst, R::Ends, true);
    row(46, 32855, "囲った内容を削除(&D)", "URPS", kRangeFirst, R::Ends, true);
    row(47, 32825, "角度測定", "URP", "角度計測点をクリック", R::Ends, true);
    row(48, 32837, "面積累計", "URP", "一点目をクリック", R::Ends, true);
    row(49, 32838, "長さ累計", "URP", "一点目をクリック", R::Ends, true);
    row(50, 32830, "２点からの距離", "URP", "底辺となる一点目をクリック", R::Ends, true);
    row(51, 32870, "寸法指定四角形", "URPS", "寸法指定四角形作成、指定位置で左クリック", R::All, true);
    row(52, 32895, "屋根作成", "URPS", "3点指定で屋根作成", R::Ends, true);
    row(53, 32896, "外壁線作成", "URPS", "連続線で外壁線作成(Wｸﾘｯｸで終了)", R::Last, true);
    row(54, 32897, "バルコニー作成", "URPS", "左ｸﾘｯｸ指定でバルコニー作成(Wｸﾘｯｸで終了)", R::Last, true);
    row(55, 1487, "建具配置モード", "RSP", "3点指定で建具作成", R::Last, true);
    row(56, 1560, "階段作成モード", "RSP", "3点指定で階段作成（まず幅を２点で指定）", R::Last, true);
    row(57, 32902, "壁の部分削除(&L)", "URPS", "消したい部分の一点目を左クリックで指定", R::Ends, true);
    row(58, 32905, "フリー曲線(&F)", "URPS", "一点目からマウスの動かしたところに曲線作成、２点目で終了", R::Ends,
        true);
    row(59, 32907, "部分印刷", "PS", "クリックドラッグして範囲を決めてください", R::Ends, true);
    row(60, 33991, "部分伸縮", "URPS", "伸縮する範囲を囲むように一点目をクリック", R::Ends, true);
    row(61, 33915, "二重線多角形(&D)", "URPS", kMulti, R::Last, true);
    row(62, 33923, "角丸四角形(&K)", "URPS",
        "角の丸い四角形をグループとして作成、１，２点で四角形、３点目で丸の大きさを決めます", R::Last, true);
    row(63, 33924, "反転移動", "URP", "選択物を反転させる基準線をクリック", R::Ends, true);
    row(64, 33925, "分割", "URPS", "分割する直線（円、円弧）をクリック", R::Ends, true);
    row(65, 33932, "部屋の頂点の追加", "RP", "選択している部屋の頂点を追加したい壁上をクリック", R::Ends, true);
    row(66, 33952, "部屋の壁を曲線変形", "RP", "曲線化したい選択している部屋の２つの頂点のどちらかをクリック",
        R::Last, true);
    row(67, 33939, "線結合で連続線、多角形化（&K）", "RSP", "結合する直線の上をクリック", R::Ends, true);
    row(68, 33950, "吹き出し(&H)...", "RSP",
        "吹き出しをグループとして作成、左クリック１，２点で四角形、３点目で吹き出し位置を決めます", R::Ends, true);
    row(69, 33942, "表示記号の作成", "RSP", "地盤、砂利などを作図する範囲の幅を決める一点目を左クリック", R::Last,
        true);
    row(70, 1132, "", "RSP", "修飾文字作成位置をクリック", R::All, true);
    row(71, 33972, "選択画像の位置大きさ合わせ", "PUR", "画像上の基点を左クリック", R::Last, true);
    return t;
}

} // namespace

const std::array<ToolInfo, 72>& ToolTable()
{
    static const std::array<ToolInfo, 72> table = makeTable();
    return table;
}

} // namespace kov::tools

#include "jwcad/JwRecords.h"

const char* const CData::kClassNames[CData::KIND_COUNT] = {
    "CData", "CDataSen", "CDataEnko", "CDataTen", "CDataMoji", "CDataSunpou", "CDataSolid", "CDataBlock", "CDataList",
};

namespace {
// A time written in the long form is announced by this value where a bare 32-bit time would stand.
constexpr std::uint32_t kLongTimeMark = 0x8000000Au;
// The point record carries its code, rotation and scale only under this pen style.
constexpr std::uint8_t kPointWithCode = 100;
// A solid of this pen colour carries a colour of its own.
constexpr std::uint16_t kSolidOwnColour = 10;
} // namespace

int CData::KindOfName(std::string_view name)
{
    for (int k = 0; k < KIND_COUNT; ++k)
        if (name == kClassNames[k])
            return k;
    return -1;
}

std::unique_ptr<CData> CData::Create(int kind)
{
    switch (kind) {
    case SEN: return std::make_unique<CDataSen>();
    case ENKO: return std::make_unique<CDataEnko>();
    case TEN: return std::make_unique<CDataTen>();
    case MOJI: return std::make_unique<CDataMoji>();
    case SUNPOU: return std::make_unique<CDataSunpou>();
    case SOLID: return std::make_unique<CDataSolid>();
    case BLOCK: return std::make_unique<CDataBlock>();
    case LIST: return std::make_unique<CDataList>();
    default: return std::make_unique<CData>();
    }
}

void CData::serializeBase(JwArchive& ar)
{
    ar.io(m_nGroup);
    ar.io(m_nPenStyle);
    ar.io(m_nPenColor);
    if (m_nVersion > 350)
        ar.io(m_nPenWidth);
    ar.io(m_nLayer);
    ar.io(m_nGLayer);
    ar.io(m_sFlg);
}

void CData::Serialize(JwArchive& ar) { serializeBase(ar); }

void CData::CopyLayerFrom(const CData& other)
{
    m_nLayer = other.m_nLayer;
    m_nGLayer = other.m_nGLayer;
}

void CDataSen::Serialize(JwArchive& ar)
{
    serializeBase(ar);
    ar.io(m_start_x);
    ar.io(m_start_y);
    ar.io(m_end_x);
    ar.io(m_end_y);
}

void CDataEnko::Serialize(JwArchive& ar)
{
    serializeBase(ar);
    ar.io(m_start_x);
    ar.io(m_start_y);
    ar.io(m_dHankei);
    ar.io(m_radKaishiKaku);
    ar.io(m_radEnkoKaku);
    ar.io(m_radKatamukiKaku);
    ar.io(m_dHenpeiRitsu);
    ar.io(m_bZenEnFlg);
}

void CDataTen::Serialize(JwArchive& ar)
{
    if (ar.IsStoring())
        m_nPenStyle = (m_nVersion > 251 && m_nCode != 0) ? kPointWithCode : 1;
    serializeBase(ar);
    ar.io(m_start_x);
    ar.io(m_start_y);
    ar.io(m_bKariten);
    if (m_nPenStyle == kPointWithCode) {
        ar.io(m_nCode);
        ar.io(m_radKaitenKaku);
        ar.io(m_dBairitsu);
    }
}

void CDataMoji::Serialize(JwArchive& ar)
{
    serializeBase(ar);
    ar.io(m_start_x);
    ar.io(m_start_y);
    ar.io(m_end_x);
    ar.io(m_end_y);
    ar.io(m_nMojiShu);
    ar.io(m_dSizeX);
    ar.io(m_dSizeY);
    ar.io(m_dKankaku);
    ar.io(m_degKakudo);
    ar.ioString(m_strFontName);
    ar.ioString(m_string);
}

void CDataSunpou::Serialize(JwArchive& ar)
{
    serializeBase(ar);
    // The embedded records carry the file's version too.
    for (CData* inner : std::initializer_list<CData*>{&m_Sen, &m_Moji, &m_SenHo1, &m_SenHo2, &m_Ten1, &m_Ten2,
                                                      &m_Ten3, &m_Ten4})
        if (ar.IsLoading())
            inner->m_nVersion = m_nVersion;
    m_Sen.Serialize(ar);
    m_Moji.Serialize(ar);
    if (m_nVersion >= 420) {
        ar.io(m_bSxfMode);
        m_SenHo1.Serialize(ar);
        m_SenHo2.Serialize(ar);
        m_Ten1.Serialize(ar);
        m_Ten2.Serialize(ar);
        m_Ten3.Serialize(ar);
        m_Ten4.Serialize(ar);
    }
}

void CDataSolid::Serialize(JwArchive& ar)
{
    serializeBase(ar);
    ar.io(m_start_x);
    ar.io(m_start_y);
    ar.io(m_end_x);
    ar.io(m_end_y);
    ar.io(m_DPoint2_x);
    ar.io(m_DPoint2_y);
    ar.io(m_DPoint3_x);
    ar.io(m_DPoint3_y);
    if (m_nPenColor == kSolidOwnColour)
        ar.io(m_Color);
}

void CDataBlock::Serialize(JwArchive& ar)
{
    serializeBase(ar);
    ar.io(m_DPKijunTen_x);
    ar.io(m_DPKijunTen_y);
    ar.io(m_dBairitsuX);
    ar.io(m_dBairitsuY);
    ar.io(m_radKaitenKaku);
    ar.io(m_n_Number);
}

CDataList::CDataList(const CDataList& o)
    : CData(o), m_nNumber(o.m_nNumber), m_bReffered(o.m_bReffered), m_time(o.m_time), m_strName(o.m_strName)
{
    m_DataList.reserve(o.m_DataList.size());
    for (const auto& r : o.m_DataList)
        m_DataList.push_back(r ? r->Clone() : nullptr);
}

void CDataList::Serialize(JwArchive& ar)
{
    serializeBase(ar);
    ar.io(m_nNumber);
    ar.io(m_bReffered);
    if (ar.IsStoring()) {
        ar.WriteDWord(kLongTimeMark);
        const std::int64_t t = m_time;
        ar.WriteDWord(static_cast<std::uint32_t>(static_cast<std::uint64_t>(t)));
        ar.WriteDWord(static_cast<std::uint32_t>(static_cast<std::uint64_t>(t) >> 32));
    } else {
        const std::uint32_t first = ar.ReadDWord();
        if (first == kLongTimeMark) {
            const std::uint64_t lo = ar.ReadDWord();
            const std::uint64_t hi = ar.ReadDWord();
            m_time = static_cast<std::int64_t>(lo | (hi << 32));
        } else {
            m_time = static_cast<std::int32_t>(first);
        }
    }
    ar.ioString(m_strName);
    ar.ioList(m_DataList);
}

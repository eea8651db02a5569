#pragma once

// The records of a Jw_cad drawing or figure file (JWW, JWS): a base class with the pen, layer and
// flag fields, and eight kinds of record. Coordinates are Jw_cad paper millimetres, y up.

#include "jwcad/JwArchive.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CKovUnit;
class CPlotInfo;
class SelectionRecord;
class JwwHeader;
struct JwwImportOptions;
struct JwwBlockTransform;
struct JwConversionContext;

using JwRecordList = std::vector<std::unique_ptr<CData>>;

class CData {
public:
    // The record kinds in the order of their class names (kClassNames).
    enum Kind { DATA = 0, SEN, ENKO, TEN, MOJI, SUNPOU, SOLID, BLOCK, LIST, KIND_COUNT };
    static const char* const kClassNames[KIND_COUNT];
    // The kind of a class name as the stream carries it (exact), -1 for none.
    static int KindOfName(std::string_view name);
    // A new record of the kind with every field zero.
    static std::unique_ptr<CData> Create(int kind);

    std::uint32_t m_nGroup = 0;
    std::uint8_t m_nPenStyle = 0;
    std::uint16_t m_nPenColor = 0;
    std::uint16_t m_nPenWidth = 0;   // in the stream above version 350 only
    std::uint16_t m_nLayer = 0;
    std::uint16_t m_nGLayer = 0;
    std::uint16_t m_sFlg = 0;
    int m_nVersion = 600;            // of the file; not in the stream

    virtual ~CData() = default;
    virtual int GetKind() const { return DATA; }
    virtual void Serialize(JwArchive& ar);
    virtual std::unique_ptr<CData> Clone() const { return std::make_unique<CData>(*this); }

    // Appends what the record becomes to the container and the selection. 1 done; 0 ends the import.
    virtual int ConvertToDrawing(JwConversionContext& ctx, int transformed, const JwwBlockTransform& t) const;
    // Takes the layer and layer group of another record.
    virtual void CopyLayerFrom(const CData& other);

protected:
    void serializeBase(JwArchive& ar);
};

class CDataSen : public CData {
public:
    double m_start_x = 0, m_start_y = 0, m_end_x = 0, m_end_y = 0;
    int GetKind() const override { return SEN; }
    void Serialize(JwArchive& ar) override;
    std::unique_ptr<CData> Clone() const override { return std::make_unique<CDataSen>(*this); }
    int ConvertToDrawing(JwConversionContext& ctx, int transformed, const JwwBlockTransform& t) const override;
};

class CDataEnko : public CData {
public:
    double m_start_x = 0, m_start_y = 0;   // centre
    double m_dHankei = 0;                  // radius
    double m_radKaishiKaku = 0;            // start angle, radians
    double m_radEnkoKaku = 0;              // arc angle, radians
    double m_radKatamukiKaku = 0;          // tilt, radians
    double m_dHenpeiRitsu = 0;             // flatness; 1 for a circle
    std::uint32_t m_bZenEnFlg = 0;         // whole circle or ellipse
    int GetKind() const override { return ENKO; }
    void Serialize(JwArchive& ar) override;
    std::unique_ptr<CData> Clone() const override { return std::make_unique<CDataEnko>(*this); }
    int ConvertToDrawing(JwConversionContext& ctx, int transformed, const JwwBlockTransform& t) const override;
};

class CDataTen : public CData {
public:
    double m_start_x = 0, m_start_y = 0;
    std::uint32_t m_bKariten = 0;
    std::uint32_t m_nCode = 0;
    double m_radKaitenKaku = 0;
    double m_dBairitsu = 0;
    int GetKind() const override { return TEN; }
    void Serialize(JwArchive& ar) override;
    std::unique_ptr<CData> Clone() const override { return std::make_unique<CDataTen>(*this); }
    // Makes nothing (the drawing holds no points); counted so that the import can say so.
    int ConvertToDrawing(JwConversionContext& ctx, int transformed, const JwwBlockTransform& t) const override;
};

class CDataMoji : public CData {
public:
    double m_start_x = 0, m_start_y = 0, m_end_x = 0, m_end_y = 0;
    std::uint32_t m_nMojiShu = 0;          // text kind; +10000 italic, +20000 bold
    double m_dSizeX = 0, m_dSizeY = 0, m_dKankaku = 0;
    double m_degKakudo = 0;                // degrees, counter-clockwise
    std::string m_strFontName;             // UTF-8
    std::string m_string;                  // UTF-8
    // A setting that version-7 files keep as a text ("Printer_PaperSize = 0"), not drawing.
    bool IsSettingText() const;
    int GetKind() const override { return MOJI; }
    void Serialize(JwArchive& ar) override;
    std::unique_ptr<CData> Clone() const override { return std::make_unique<CDataMoji>(*this); }
    int ConvertToDrawing(JwConversionContext& ctx, int transformed, const JwwBlockTransform& t) const override;
};

class CDataSunpou : public CData {
public:
    CDataSen m_Sen;
    CDataMoji m_Moji;
    std::uint16_t m_bSxfMode = 0;
    CDataSen m_SenHo1, m_SenHo2;
    CDataTen m_Ten1, m_Ten2, m_Ten3, m_Ten4;
    int GetKind() const override { return SUNPOU; }
    void Serialize(JwArchive& ar) override;
    std::unique_ptr<CData> Clone() const override { return std::make_unique<CDataSunpou>(*this); }
    int ConvertToDrawing(JwConversionContext& ctx, int transformed, const JwwBlockTransform& t) const override;
};

class CDataSolid : public CData {
public:
    double m_start_x = 0, m_start_y = 0, m_end_x = 0, m_end_y = 0;
    double m_DPoint2_x = 0, m_DPoint2_y = 0, m_DPoint3_x = 0, m_DPoint3_y = 0;
    std::uint32_t m_Color = 0;   // own colour when the pen colour is 10
    int GetKind() const override { return SOLID; }
    void Serialize(JwArchive& ar) override;
    std::unique_ptr<CData> Clone() const override { return std::make_unique<CDataSolid>(*this); }
    int ConvertToDrawing(JwConversionContext& ctx, int transformed, const JwwBlockTransform& t) const override;
};

class CDataBlock : public CData {
public:
    double m_DPKijunTen_x = 0, m_DPKijunTen_y = 0;
    double m_dBairitsuX = 0, m_dBairitsuY = 0;
    double m_radKaitenKaku = 0;
    std::uint32_t m_n_Number = 0;
    int GetKind() const override { return BLOCK; }
    void Serialize(JwArchive& ar) override;
    std::unique_ptr<CData> Clone() const override { return std::make_unique<CDataBlock>(*this); }
    int ConvertToDrawing(JwConversionContext& ctx, int transformed, const JwwBlockTransform& t) const override;
    void CopyLayerFrom(const CData&) override {}
};

class CDataList : public CData {
public:
    std::uint32_t m_nNumber = 0;
    std::uint32_t m_bReffered = 0;
    std::int64_t m_time = 0;
    std::string m_strName;
    JwRecordList m_DataList;

    CDataList() = default;
    CDataList(const CDataList& o);
    int GetKind() const override { return LIST; }
    void Serialize(JwArchive& ar) override;
    std::unique_ptr<CData> Clone() const override { return std::make_unique<CDataList>(*this); }
};

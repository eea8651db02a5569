#pragma once

// JWC drawing files and JWK figure files of the DOS Jw_cad: fixed 200-byte header chunks holding
// comma-separated fields, fixed tables, then line, circle and text records and a pool of strings.
// Strings stay in code page 932 bytes here; the importers decode them.

#include "jwcad/JwwFile.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct CJWSen {
    // Coordinates are the file's reals times the unit factor, held in double precision.
    double m_x1 = 0, m_x2 = 0, m_y1 = 0, m_y2 = 0;
    std::uint8_t m_pen = 0, m_color = 0, m_layer = 0;
    std::int32_t m_extraA = 0, m_extraB = 0;
};

struct CJWEnko {
    double m_cx = 0, m_cy = 0, m_r = 0;
    float m_flat = 1.0f;                  // y radius / x radius (the field "10000" means 1)
    double m_start = 0, m_end = 0, m_base = 0;   // degrees
    std::uint8_t m_pen = 0, m_color = 0, m_layer = 0;
    std::int32_t m_extra = 0;
};

struct CJWMozi {
    double m_x1 = 0, m_y1 = 0, m_x2 = 0, m_y2 = 0;
    std::uint32_t m_pointer = 0;
    std::uint8_t m_kind = 0, m_layer = 0;
    std::string m_text;                   // CP932 bytes
    std::int32_t m_flags = 0, m_extra = 0;
};

class JwcData {
public:
    static constexpr std::size_t kChunk = 200;
    static constexpr int kKinds = 11;
    // Sheets of the file's paper codes 0 (A0) to 4 (A4), landscape, millimetres.
    static constexpr std::array<int, 5> kPaperWidth{1189, 841, 594, 420, 297};
    static constexpr std::array<int, 5> kPaperHeight{841, 594, 420, 297, 210};

    struct {
        int m_bWordScales = 1;
        std::array<std::string, 3> m_texts;
    } m_tag;
    struct {
        std::vector<std::string> m_fields;
        float m_unitFactor = 1, m_scale = 1;
        bool m_badScale = false;   // the file's scale is past any drawing's (read as 1)
        int m_paper = 4, m_unitsAcross = 518;
        int m_nSen = 0, m_nEnko = 0, m_nMozi = 0, m_nTen = 0;
        int m_code13 = 1, m_code12 = 2, m_currentLayer = 0;
    } m_line1;
    struct {
        std::vector<std::string> m_fields;
        int m_textAlignH = 0, m_textAlignV = 0;
    } m_line2;
    struct {
        std::uint32_t m_poolStart = 0, m_poolEnd = 0;
        std::vector<std::string> m_fields;
    } m_line3;
    std::array<int, 16> m_groupScale{};
    std::array<int, kKinds> m_kindTableA{}, m_kindTableB{}, m_kindSize{}, m_kindSpacing{};
    std::array<int, 16> m_groupEditable{}, m_groupShown{}, m_groupLayer{};
    std::array<int, 256> m_layerEditable{}, m_layerShown{};
    std::vector<CJWSen> m_sen;
    std::vector<CJWEnko> m_enko;
    std::vector<CJWMozi> m_mozi;
    std::vector<std::string> m_poolStrings;
    std::vector<std::string> m_layerNames, m_groupNames;   // CP932 bytes

    void SetJwcHeaderDefaults();
    void DeleteJwcItems();
    // The file's bytes. Texts beyond 127 bytes and names beyond their fields are cut on a
    // character boundary; a pool beyond 6400 bytes drops the texts that no longer fit.
    std::vector<std::uint8_t> WriteJwcFile() const;
    // Reads a JWC drawing; counts, pool and tables are checked against the bytes there are.
    JwReadResult ReadJwc(const std::uint8_t* data, std::size_t size);
    // Reads a JWK figure file (drawing millimetres, no tables).
    JwReadResult ReadJwk(const std::uint8_t* data, std::size_t size);

    // Header line parsing, one 200-byte chunk each.
    void ParseTag(const std::uint8_t* chunk);
    void ParseLine1(const std::uint8_t* chunk);
    void ParseLine2(const std::uint8_t* chunk);
    void ParseLine3(const std::uint8_t* chunk);
};

// Whether the bytes look like a JWC drawing (its tag), a JWW drawing or a JWS figure file (their
// signatures); the commands pick the reader by content, not by the case of the extension.
enum class JwFileKind { Unknown, Jww, Jws, Jwc };
JwFileKind SniffJwFile(const std::uint8_t* data, std::size_t size);

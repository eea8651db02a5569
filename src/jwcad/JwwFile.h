#pragma once

// The header and the two record lists of a JWW drawing file and of a JWS figure file. Every header
// field is held as read and written back unchanged, so a template's values pass through exports.

#include "jwcad/JwRecords.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

struct JwReadResult {
    bool ok = false;
    std::string error;        // English detail for the log and tests; empty when ok
    std::size_t offset = 0;   // where reading stopped
};

class JwwHeader {
public:
    static constexpr int kWriteVersion = 600;
    static constexpr int kPens = 357;
    static constexpr int kLineTypes = 64;

    struct GroupInfo {
        std::uint32_t state = 0, writeLayer = 0;
        double scale = 0;
        std::uint32_t protect = 0;
        std::array<std::uint32_t, 16> layerState{}, layerProtect{};
        std::array<std::string, 16> layerName;
        std::string name;
    };
    struct Jump {
        double scale = 0, x = 0, y = 0;
        std::uint32_t group = 0;
    };
    struct Pen {
        std::uint32_t color = 0, width = 0, printColor = 0, printWidth = 0;
        double pointRadius = 0;
    };
    struct LineType {
        std::uint32_t pattern = 0, unitDots = 0, pitch = 0, printPitch = 0;
        std::uint32_t randomWidth = 0, printRandomWidth = 0;
    };

    char m_signature[8] = {'J', 'w', 'w', 'D', 'a', 't', 'a', '.'};
    std::uint32_t m_nVersion = 0;
    std::string m_strMemo;
    std::uint32_t m_nZumen = 0;          // paper code
    std::uint32_t m_nWriteGLay = 0;      // the current layer group
    std::array<GroupInfo, 16> m_groups;
    std::array<std::uint32_t, 5> m_dimension{};
    std::uint32_t m_maxDrawWidth = 0;
    double m_printOriginX = 0, m_printOriginY = 0, m_printScale = 0;
    std::uint32_t m_printRotate = 0;
    std::uint32_t m_gridMode = 0;
    std::array<double, 5> m_grid{};
    std::array<double, 2> m_sunShadow{};
    std::uint32_t m_sunShadow9to15 = 0;
    double m_wallShadowHeight = 0;
    std::array<double, 2> m_skyChart{};
    std::uint32_t m_2p5dUnit = 0;
    std::array<double, 6> m_view{};
    std::array<Jump, 8> m_jumps;
    double m_textBackValue = 0;
    std::uint32_t m_textDrawMode = 0;
    std::array<double, 10> m_multiLine{};
    double m_multiLineEnd = 0;
    std::array<Pen, kPens> m_pens;
    std::array<LineType, kLineTypes> m_lineTypes;
    std::array<std::uint32_t, 13> m_switches{};   // [2] solids first, [5] colour printing
    std::array<std::uint32_t, 3> m_eyeAngles{};
    std::array<double, 9> m_eyeAndLast{};
    std::uint32_t m_solidColorMode = 0, m_solidColor = 0;
    std::array<std::string, kPens> m_sxfColorName;
    std::array<std::string, 33> m_sxfLineTypeName;
    std::array<std::uint32_t, 33> m_sxfParamCount{};
    std::array<std::array<double, 10>, 33> m_sxfParams{};
    struct TextKind {
        double sizeX = 0, sizeY = 0, spacing = 0;
        std::uint32_t color = 0;
    };
    std::array<TextKind, 10> m_textKinds;     // kinds 1-10
    double m_curTextSizeX = 0, m_curTextSizeY = 0, m_curTextSpacing = 0;
    std::uint32_t m_curTextColor = 0, m_curTextKind = 0;
    double m_textLineSpacing = 0, m_textCharCount = 0;
    std::uint32_t m_baseShift = 0;
    std::array<double, 6> m_baseShiftXY{};

    JwRecordList m_DataList;     // the drawing's records
    JwRecordList m_DataListList; // block definitions

    void ClearJwwHeader();
    // The header alone (templates). A failure throws JwFormatError (caught by the file readers).
    int ReadJwwHeader(JwArchive& ar);
    void WriteJwwHeader(JwArchive& ar);
    // Header and both lists from bytes; what was read before a failure stays.
    JwReadResult ReadJwwArchive(const std::uint8_t* data, std::size_t size);
    std::vector<std::uint8_t> WriteJwwArchive();
    void DeleteJwwRecords();
    // The header fields in the layout of the given version (older files' layouts, for tests); the
    // version field itself is written as the header holds it.
    void SerializeHeader(JwArchive& ar, int version) { serializeHeader(ar, version); }

    // Convenience for tests and the commands: the file's bytes.
    JwReadResult ReadJwwFile(const std::filesystem::path& path);
    JwReadResult ReadJwwHeaderFile(const std::filesystem::path& path);

private:
    void serializeHeader(JwArchive& ar, int version);
};

class JwsHeader {
public:
    char m_signature[8] = {};
    std::uint32_t m_nVersion = 0;   // the version the records were read with
    double m_originX = 0, m_originY = 0;
    std::array<double, 16> m_groupScale{};
    std::array<double, 4> m_further{};
    JwRecordList m_DataList;
    JwRecordList m_DataListList;

    // fallbackVersion: what the records take when the file carries no plausible version of its own.
    JwReadResult ReadJwsHeader(const std::uint8_t* data, std::size_t size, int fallbackVersion = 600);
    JwReadResult ReadJwsFile(const std::filesystem::path& path, int fallbackVersion = 600);
    void DeleteJwsRecords();
};

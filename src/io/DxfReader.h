#pragma once

// Reading DXF files into a drawing (CKovUnit::ReadDxf, defined in DxfReader.cpp), and the values of
// the import options dialog.

#include <string>
#include <vector>

namespace kov::io {

// What the options dialog hands the reader.
struct DxfReadOptions {
    int keepPaperSize = 0;   // 1: the header's limits do not change the paper
    int keepScale = 0;       // 1: $LTSCALE does not change the layer-group scales
    int third = 0;           // always 0
    int fourth = 0;          // always 0
};

// The options dialog's values and rules; the Qt dialog only shows them. Both boxes start cleared
// at every import, and nothing is read from or written to the settings.
class DxfReadSetForm {
public:
    bool keepPaperChecked = false;
    bool keepScaleChecked = false;
    DxfReadOptions options;

    // Clears both boxes and the four option members.
    void OnInitDialog();
    void OnKeepPaperClicked() { keepPaperChecked = !keepPaperChecked; }
    void OnKeepScaleClicked() { keepScaleChecked = !keepScaleChecked; }
    // Takes the boxes into the first two members; the dialog then closes with OK.
    void OnOK();
};

struct DxfReadResult {
    bool read = false;                 // false: the file could not be opened or is no text DXF
    int figures = 0;                   // figures and texts made
    int texts = 0;
    std::vector<std::string> messages; // what the user is told (UTF-8), in the order met
};

} // namespace kov::io

#pragma once

// The one document: the drawing being edited with its settings, and its file (".kvr", the block
// "KOVDATA" holding "PlotInfo", "Grid" and "KovUnit"). It is a plain object; the shell reaches the
// user only through the injected services, so every path here runs headless in tests.
//
// The same object lives as long as the program and is emptied for every new or opened drawing.

#include "app/AppTexts.h"
#include "io/DxfReader.h"
#include "jwcad/JwConversion.h"

#include "model/DefFile.h"
#include "model/FontMenu.h"
#include "model/Grid.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"
#include "platform/Folders.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kov::platform {
class Profile;
class Questions;
} // namespace kov::platform

namespace kov::app {

inline constexpr std::string_view kDocumentBlock = "KOVDATA";
inline constexpr std::string_view kDocumentExtension = ".kvr";

// What an open that found no document in `file` says: the file's name and what is wrong with it, or,
// for a DXF or Jw_cad drawing, the command that reads it.
std::string ReadFailedText(const std::filesystem::path& file);

// What the document needs from outside. Folders are resolved against the common-folder switches of
// the profile at each use, so a change in the settings takes effect at once.
struct DocumentServices {
    kov::platform::Profile& profile;
    kov::platform::Questions& questions;
    kov::platform::Folders folders;
    std::string programFolder; // the program's data folder default for CPlotInfo
};

class CKoviraDoc {
public:
    // Reads the oldest packed documents (LHA): given the whole file, the bytes of the document packed
    // in it, the member `memberName` ("kovlsav.qvt" for a document, "kovlsav.kvr" for a merge) taken
    // first, or nothing when the file is not such an archive or holds no document. Shows no message.
    using OldPackedUnpacker =
        std::function<std::optional<std::vector<std::uint8_t>>(const std::vector<std::uint8_t>& packed,
                                                              std::string_view memberName)>;

    explicit CKoviraDoc(DocumentServices services);
    ~CKoviraDoc();
    CKoviraDoc(const CKoviraDoc&) = delete;
    CKoviraDoc& operator=(const CKoviraDoc&) = delete;

    // -- members (declared order as the document keeps them) -------------------------------------
    CPlotInfo m_PlotInfo;
    CGrid m_Grid;
    CFontMenu m_FontMenu;          // never in the file; the view fills it from the settings
    CKovUnit m_Unit;               // the live drawing
    CKovUnit m_BaseUnit;           // the bottom of the undo stack; empty after every emptying
    // Whole-drawing snapshots, oldest first. Entry 0 is always &m_BaseUnit; entries from 1 on are
    // owned by the stack (made with new; emptying the document and the destructor free them).
    std::vector<CKovUnit*> m_UndoStack;
    // Snapshots that undo set aside; every entry is owned (as above).
    std::vector<CKovUnit*> m_RedoStack;
    // Identifiers of the pictures made since the program started; never emptied. Add with
    // AddTempImageNumber.
    std::vector<std::uint32_t> m_TempImageNumbers;
    SelectionRecord m_Selection;
    int m_nToolMode = 0;           // current tool; 0 is selection mode
    int m_bRedraw = 1;             // the view must rebuild its picture before painting

    // -- undo snapshots ---------------------------------------------------------------------------
    // The undo stack holds at most this many snapshots above the base entry (`app_undonum`, set by
    // the application when it reads its settings). Lowering it drops at most one old entry per
    // later snapshot.
    int m_nUndoDepth = 20;

    // Before every change to the drawing's objects: keeps a copy of the live drawing (objects are
    // shared until changed, so the copy is cheap). The copy joins the undo stack, and the redo
    // stack is emptied, only once the drawing has really changed (SettleUndo): an edit that is
    // refused or cancelled leaves both stacks as they were. Taking a mutable pointer to an object
    // counts as a change: check an edit through the const container before making it.
    void PushUndo();
    // Decides the copy of the last PushUndo: on the stack when the live drawing differs from it
    // (with the depth rule, redo emptied, the drawing marked modified), dropped otherwise. Every
    // redraw and every stack query settles first. With keepUnchanged (the idle refresh of the
    // command states) an unchanged copy stays pending: a tool that took it at a pick may change the
    // drawing at a later click.
    void SettleUndo(bool keepUnchanged = false);
    // A snapshot of the drawing as it stands, on the stack at once though nothing changed since the
    // last one: figures being placed are moved from it, and an undo after the placing returns to it.
    void PushUndoHeld();
    // Undo is possible while the undo stack holds the base and at least one snapshot and no
    // imported figures are being placed.
    bool CanUndo(bool placing = false);
    bool CanRedo();
    // The snapshot moves start from: the one the last PushUndo took (not settled yet), else the
    // newest on the stack.
    const CKovUnit* NewestSnapshot() const
    {
        return m_pPendingUndo ? m_pPendingUndo.get() : m_UndoStack.empty() ? nullptr : m_UndoStack.back();
    }
    // Puts the drawing back as it was before the latest change (the live drawing goes to the redo
    // stack). False, changing nothing, when undo is not possible.
    bool Undo(bool placing = false);
    // Puts back the drawing that the latest undo set aside. False when the redo stack is empty.
    bool Redo();

    // -- the commands of the file menu, as the shell calls them -----------------------------------
    // Each asks to save changes first (SaveModified) and returns false when the user cancelled or
    // nothing changed.

    // File-new: empties the document, untitled, then the first update (backup rotation, hook).
    bool FileNew();
    // Opening through the open dialog, the recent list or the command line: a document read whole
    // takes the path (title, recent list). On failure the drawing that was open stays, and the path
    // is not taken (before any drawing was set up, an untitled new one is); a damaged file loads
    // what can be read and stays unnamed, so that Save asks.
    bool OpenDocumentFile(const std::filesystem::path& path);
    // Samples, backups, foreign files and importers: file-new, the new-document step and the open
    // step, so that the title stays new, a later save asks for a name and the recent list is
    // unchanged. The drawing read is marked modified, since no document file holds it. False when
    // the user cancelled the file-new or the file could not be read (the new, empty drawing stays).
    bool OpenAsNewDrawing(const std::filesystem::path& path);
    // Save: under the document's path, or asks for a name when it has none (or was opened damaged).
    bool DoFileSave();
    // Save as: always asks for a name.
    bool DoFileSaveAs();
    // Before New, Open and closing: when modified, asks whether to save. True to go on (saved or
    // not wanted), false when the user cancelled or the save failed.
    bool SaveModified();
    // Closing the program: SaveModified, and the newest backup when the drawing changed.
    bool CanCloseFrame();

    // -- the document steps that the commands above are made of ------------------------------------
    // Empties the document (settings reloaded, containers and stacks emptied, selection and tool
    // reset, every temporary picture of the document deleted).
    void DeleteContents();
    // The new-document step: empties, not modified. 1 on success.
    int OnNewDocument();
    // The open step alone: reads the file into the document without taking its path. 1 when read
    // (perhaps only in part: see LastOpenWasDamaged), 0 when it could not be read at all, in which
    // case the document was not touched. Messages are shown here.
    int OnOpenDocument(const std::filesystem::path& path);
    // The save step: the automatic picture when set, then the file written whole (temporary file
    // renamed over the target). 1 when written; 0 with a message otherwise, the old file unharmed.
    int OnSaveDocument(const std::filesystem::path& path);
    // Takes the path: title from its file name, then the recent-file list.
    void SetPathName(const std::filesystem::path& path, bool addToRecentList = true);

    // -- blocks ---------------------------------------------------------------------------------
    // Reads the document block of a loading archive: "KOVDATA" found → read (1); not found → the
    // oldest packed form through the unpacker (1 when read, 0 when not). The view's first update
    // also calls it for the user's template drawing.
    int LoadDocumentBlock(CArchive& ar);
    // Reads the block (its start already read) into the document; 1 when read whole.
    int ReadDocumentBlock(CArchive& ar, std::string_view block);
    // Writes the whole document as one block of that name; 1 when every write succeeded.
    int WriteDocumentBlock(CArchive& ar, std::string_view block) const;
    // The whole document to a file of any name (backups, the sibling format's export): the
    // document block in an archive committed whole. 1 done; 0 with `error` set.
    int WriteDocumentFile(const std::filesystem::path& path, std::string* error = nullptr) const;

    // -- backups ----------------------------------------------------------------------------------
    // The newest backup "kovbkfl.dat" in the backup folder, written whole. 1 done, 0 failed or
    // backups off (`app_backup` 0).
    int WriteBackupFile();
    // Backup 1-4 ("kovbkfl<n>.dat"), any other number the newest; opened as a new drawing, without
    // rotating the backups at its file-new.
    bool OpenBackupFile(int number);

    // -- state --------------------------------------------------------------------------------------
    const std::filesystem::path& GetPathName() const { return m_strPathName; }
    // The name an export offers: the drawing's own name with the export's extension (".dxf").
    std::filesystem::path ExportName(std::string_view extension) const;
    // The same, with the extension of the first pattern of a file filter ("…|*.png|…").
    std::filesystem::path ExportName(std::string_view extension, std::string_view filter) const;
    const std::string& GetTitle() const { return m_strTitle; }
    bool IsModified() const { return m_bModified; }
    // Every edit marks the document (the undo snapshot does it); saving and emptying clear it.
    void SetModifiedFlag(bool modified = true);
    // The last open step read only part of the file (message shown, path not taken).
    bool LastOpenWasDamaged() const { return m_bLastOpenDamaged; }
    // Adds a picture's identifier to m_TempImageNumbers when it is not there yet.
    void AddTempImageNumber(std::uint32_t id);

    // The folders the document uses now (common-folder switches applied). The pictures' folder is
    // the document's own inside the shared one (OwnPictureFolder); it goes when the document does.
    std::filesystem::path TempImageFolder() const;
    std::filesystem::path BackupFolder() const;

    DocumentServices& services() { return m_services; }

    // -- Jw_cad exchange (defined in JwDocument.cpp) ------------------------------------------------
    // The import options of a JWW drawing; the shell shows its dialog. Nothing when cancelled.
    using JwwOptionsChooser = std::function<std::optional<JwwImportOptions>()>;
    void SetJwwOptionsChooser(JwwOptionsChooser chooser) { m_jwwOptionsChooser = std::move(chooser); }
    // A Jw_cad drawing as a new document. The file is read and converted first; the open drawing is
    // replaced (after the save question) only when that worked. True when replaced.
    bool ImportJww(const std::filesystem::path& path);
    bool ImportJwc(const std::filesystem::path& path);
    // A Jw_cad figure file added on the current layer as one selected group for the view to place.
    // The message of a file that cannot be read is shown; what was read is still added.
    void ImportJws(const std::filesystem::path& path);
    void ImportJwk(const std::filesystem::path& path);
    // The drawing as a Jw_cad file; refusals and failures are told. True when written.
    bool ExportJww(const std::filesystem::path& path);
    bool ExportJwc(const std::filesystem::path& path);
    // The template of JWW exports: "jwdef.jww" in the user's data folder when there is one.
    std::filesystem::path JwwTemplatePath() const;
    // A DXF file as a new document (defined in DxfDocument.cpp): read into a new drawing first, which
    // replaces the open one (after the save question) only when the file was read. A failure is one
    // message naming the file; what the reader reports besides is told after. True when replaced.
    bool ImportDxf(const std::filesystem::path& path, const kov::io::DxfReadOptions& options);

    // -- hooks the shell and the other openers fill ---------------------------------------------------
    // The oldest packed documents; without one such files fail to open ("ファイル読み取り失敗").
    void SetOldPackedUnpacker(OldPackedUnpacker unpacker) { m_oldPackedUnpacker = std::move(unpacker); }
    const OldPackedUnpacker& oldPackedUnpacker() const { return m_oldPackedUnpacker; }
    // The view's picture beside a saved document (setting `gazou_zidousave`); exceptions are dropped.
    void SetAutoSaveImage(std::function<void(const std::filesystem::path&)> hook) { m_autoSaveImage = std::move(hook); }
    // The view's first update after every file-new and every opened document; it runs after the
    // backup rotation.
    void SetInitialUpdate(std::function<void(CKoviraDoc&)> hook) { m_initialUpdate = std::move(hook); }

private:
    JwwOptionsChooser m_jwwOptionsChooser;
    bool replaceWithImported(CPlotInfo& plot, CKovUnit& unit);
    // Reads the file and converts it into a new drawing, which replaces the open one when that worked.
    bool importDrawing(const std::filesystem::path& path, const char* unreadable,
                       const std::function<JwImportOutcome(const std::vector<std::uint8_t>&, CPlotInfo&, CKovUnit&)>& convert);
    void showJwMessages(const std::vector<std::string>& messages);
    enum class ReadOutcome { Whole, Damaged, Failed };

    ReadOutcome readFile(const std::filesystem::path& path);
    std::filesystem::path m_readingFile; // the file readFile is reading, named when it fails
    ReadOutcome loadBlock(CArchive& ar, bool emptyFirst);
    ReadOutcome readArchive(CArchive& ar, bool emptyFirst);
    int writeDocument(CArchive& ar, std::string_view block, bool quiet, bool* told) const;
    int writeFile(const std::filesystem::path& path, std::string* error, bool quiet) const;
    void emptyDocument();
    void freeSnapshots();
    // Appends a snapshot to the undo stack, dropping the oldest above the base beyond the depth.
    void appendUndo(CKovUnit* snapshot);
    std::unique_ptr<CKovUnit> m_pPendingUndo; // the copy of the last PushUndo, not yet settled
    void installPictureRemover() const;
    int m_pictureFolderSerial = 0; // names the document's own picture folder
    mutable std::filesystem::path m_madePictureFolder;
    std::filesystem::path pictureFolderPath() const;
    void initialUpdate();
    // The newest backup of a changed drawing that is being left, unless `opening` (the file read
    // next) is that backup.
    void backupBeforeDiscard(const std::filesystem::path& opening);
    bool fileNew(const std::filesystem::path& opening);
    // An empty, unnamed drawing; startUntitled also gives it its first update.
    void emptyUntitled();
    void startUntitled();
    bool saveUnder(std::optional<std::filesystem::path> path);

    DocumentServices m_services;
    OldPackedUnpacker m_oldPackedUnpacker;
    std::function<void(const std::filesystem::path&)> m_autoSaveImage;
    std::function<void(CKoviraDoc&)> m_initialUpdate;

    std::filesystem::path m_strPathName;
    std::string m_strTitle{kUntitledTitle};
    bool m_bModified = false;
    bool m_bBackupDue = false;        // changed since the newest backup was written
    bool m_bLastOpenDamaged = false;
    bool m_bStarted = false;          // a drawing (new or opened) has been set up
    std::vector<std::string> m_readProblems; // gathered while one file is read
};

} // namespace kov::app

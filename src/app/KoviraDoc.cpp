#include "app/KoviraDoc.h"

#include "app/Backups.h"
#include "app/OldDrawings.h"
#include "app/RecentFiles.h"
#include "model/PictureFiles.h"
#include "model/SettingsValues.h"
#include "model/UnitBlocks.h"
#include "platform/Profile.h"
#include "platform/Questions.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <system_error>

namespace fs = std::filesystem;
using kov::platform::MessageIcon;

namespace kov::app {

namespace {

using kov::model::kSectionPlotMenu;
using kov::model::kSectionUtility;

// Reads the sub-blocks of "KOVDATA" by name, in whatever order and letter case the file has them.
class CKoviraDocLoad : public CDefFile {
public:
    CKoviraDocLoad(CKoviraDoc& doc, UnitFileContext& ctx) : m_doc(doc), m_ctx(ctx) {}

protected:
    RD_STATUS OnReadStart(CArchive& ar, std::string_view block) override
    {
        if (keyIs(block, "PlotInfo")) return m_doc.m_PlotInfo.Load(ar, block) ? RD_READ : RD_FAILED;
        if (keyIs(block, "Grid")) return m_doc.m_Grid.Load(ar, block) ? RD_READ : RD_FAILED;
        if (keyIs(block, "KovUnit")) return m_doc.m_Unit.ReadUnit(ar, block, m_ctx) ? RD_READ : RD_FAILED;
        return RD_SKIP;
    }
    // The top block holds no keys of its own; any found are passed over.
    int OnReadData(std::string_view, std::string_view) override { return 1; }

private:
    CKoviraDoc& m_doc;
    UnitFileContext& m_ctx;
};

} // namespace

CKoviraDoc::CKoviraDoc(DocumentServices services) : m_services(std::move(services))
{
    static std::atomic<int> documents{0};
    m_pictureFolderSerial = ++documents;
    m_UndoStack.push_back(&m_BaseUnit);
    installPictureRemover();
}

CKoviraDoc::~CKoviraDoc()
{
    // The containers never delete picture files when destroyed; the document's own folder goes.
    for (std::size_t i = 1; i < m_UndoStack.size(); ++i) delete m_UndoStack[i];
    for (CKovUnit* unit : m_RedoStack) delete unit;
    std::error_code ec;
    fs::remove_all(pictureFolderPath(), ec);
}

// ---------------------------------------------------------------- folders and flags

fs::path CKoviraDoc::pictureFolderPath() const
{
    return OwnPictureFolder(m_services.folders.folderFor(kov::platform::UserData::TempPictures,
                                                         kov::platform::readCommonFolderSwitches(m_services.profile)),
                            m_pictureFolderSerial);
}

fs::path CKoviraDoc::TempImageFolder() const
{
    fs::path folder = pictureFolderPath();
    // Made once per place: every writer of a picture file expects the folder to be there.
    if (folder != m_madePictureFolder) {
        kov::platform::ensureFolder(folder);
        m_madePictureFolder = folder;
    }
    return folder;
}

fs::path CKoviraDoc::BackupFolder() const
{
    return kov::app::BackupFolder(m_services.profile, m_services.folders);
}

void CKoviraDoc::installPictureRemover() const
{
    CKovUnit::UseTempImageFolder(TempImageFolder());
}

void CKoviraDoc::SetModifiedFlag(bool modified)
{
    m_bModified = modified;
    if (modified) m_bBackupDue = true;
}

void CKoviraDoc::AddTempImageNumber(std::uint32_t id)
{
    if (std::find(m_TempImageNumbers.begin(), m_TempImageNumbers.end(), id) == m_TempImageNumbers.end())
        m_TempImageNumbers.push_back(id);
}

void CKoviraDoc::SetPathName(const fs::path& path, bool addToRecentList)
{
    std::error_code ec;
    fs::path full = fs::absolute(path, ec);
    m_strPathName = (ec ? path : full).lexically_normal();
    m_strTitle = m_strPathName.filename().string();
    if (addToRecentList) UpdateRecentList(m_services.profile, m_strPathName);
}

// ---------------------------------------------------------------- emptying

void CKoviraDoc::freeSnapshots()
{
    m_pPendingUndo.reset();
    for (std::size_t i = 1; i < m_UndoStack.size(); ++i) {
        m_UndoStack[i]->RemoveAllObjects(CKovUnit::REMOVE_KEEP_PICTURE_FILES);
        delete m_UndoStack[i];
    }
    m_UndoStack.clear();
    for (CKovUnit* unit : m_RedoStack) {
        unit->RemoveAllObjects(CKovUnit::REMOVE_KEEP_PICTURE_FILES);
        delete unit;
    }
    m_RedoStack.clear();
}

void CKoviraDoc::emptyDocument()
{
    kov::platform::Profile& profile = m_services.profile;
    m_PlotInfo.InitFromProfile(profile, m_services.programFolder);
    m_Grid.InitFromProfile(profile);

    installPictureRemover();
    // Every picture file of the drawing, its undo copies and its imports lies in the document's own
    // folder: emptied at once, each file unlinked once (picture by picture, the drawing and each undo
    // copy would try every type of every picture's name again).
    const fs::path folder = TempImageFolder();
    DeleteFilesIn(folder);
    SweepEndedPictureFolders(folder.parent_path());
    m_Unit.RemoveAllObjects(CKovUnit::REMOVE_KEEP_PICTURE_FILES);
    m_BaseUnit.RemoveAllObjects(CKovUnit::REMOVE_KEEP_PICTURE_FILES);
    freeSnapshots();
    m_UndoStack.push_back(&m_BaseUnit);

    m_Selection.Clear();
    m_nToolMode = 0;
    m_bRedraw = 1;
}

void CKoviraDoc::DeleteContents()
{
    emptyDocument();
}

int CKoviraDoc::OnNewDocument()
{
    emptyDocument();
    m_bModified = false;
    m_bBackupDue = false;
    m_bLastOpenDamaged = false;
    return 1;
}

// ---------------------------------------------------------------- reading

std::string ReadFailedText(const fs::path& file)
{
    std::string ext = file.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    std::string text = std::string(kReadFailedMessage) + "\n「" + file.string() + "」";
    // Drawings of the exchange formats have their own commands; 開く reads only our documents.
    if (ext == ".dxf")
        return text + "は DXF ファイルです。「ファイル」→「読み込み」→「DXF読み込み」で読み込んでください。";
    if (ext == ".jww" || ext == ".jwc")
        return text + "は Jw_cad のファイルです。「ファイル」→「読み込み」→「JW_CAD(JWW,JWC)読み込み」で読み込んでください。";
    return text + "は図面ファイルではないか、壊れています。";
}

int CKoviraDoc::ReadDocumentBlock(CArchive& ar, std::string_view block)
{
    m_readProblems.clear();
    UnitFileContext ctx;
    ctx.pictureFolder = TempImageFolder();
    kov::platform::ensureFolder(ctx.pictureFolder);
    kov::platform::Questions& questions = m_services.questions;
    ctx.showMessage = [&questions](std::string_view text) { questions.message(text, {}, MessageIcon::Warning); };
    CKoviraDocLoad loader(*this, ctx);
    const int result = loader.Load(ar, block);
    for (std::string& warning : ctx.warnings) m_readProblems.push_back(std::move(warning));
    if (!ar.error().ok())
        m_readProblems.push_back(ar.error().describe());
    else if (!result)
        m_readProblems.push_back(std::string(kReadStoppedMessage));
    return result && ctx.warnings.empty() && ar.error().ok() ? 1 : 0;
}

CKoviraDoc::ReadOutcome CKoviraDoc::readArchive(CArchive& ar, bool emptyFirst)
{
    CDefFile finder;
    if (!finder.FindStart(ar, kDocumentBlock)) return ReadOutcome::Failed;
    // Emptied only now, once the file is known to be a document: a file of another kind leaves
    // the drawing that was open.
    if (emptyFirst) emptyDocument();
    ReadDocumentBlock(ar, kDocumentBlock);
    return m_readProblems.empty() ? ReadOutcome::Whole : ReadOutcome::Damaged;
}

CKoviraDoc::ReadOutcome CKoviraDoc::loadBlock(CArchive& ar, bool emptyFirst)
{
    kov::platform::Questions& questions = m_services.questions;
    m_readProblems.clear();
    ReadOutcome outcome = readArchive(ar, emptyFirst);
    bool oldPacked = false;
    if (outcome == ReadOutcome::Failed && m_oldPackedUnpacker) {
        if (std::optional<std::vector<std::uint8_t>> unpacked = m_oldPackedUnpacker(ar.bytes(), kOldDocumentMember)) {
            std::unique_ptr<CArchive> inner = CArchive::forReading(std::move(*unpacked));
            outcome = readArchive(*inner, emptyFirst);
            oldPacked = outcome != ReadOutcome::Failed;
        }
    }
    if (outcome == ReadOutcome::Failed) {
        questions.message(m_readingFile.empty() ? std::string(kReadFailedMessage) : ReadFailedText(m_readingFile), {},
                          MessageIcon::Error);
        return outcome;
    }
    if (outcome == ReadOutcome::Damaged) {
        // The report names the drawing: its lines name only places inside it.
        const std::string head = m_readingFile.empty() ? std::string(kDamagedOpenHead)
                                                       : "「" + m_readingFile.string() + "」\n" + std::string(kDamagedOpenHead);
        questions.message(ReadProblemsReport(head, m_readProblems, kDamagedOpenTail), {},
                          MessageIcon::Warning);
    }
    if (oldPacked) questions.message(kOldPackedNotice);
    return outcome;
}

int CKoviraDoc::LoadDocumentBlock(CArchive& ar)
{
    return loadBlock(ar, false) == ReadOutcome::Failed ? 0 : 1;
}

CKoviraDoc::ReadOutcome CKoviraDoc::readFile(const fs::path& path)
{
    std::error_code ec;
    const bool empty = fs::is_regular_file(path, ec) && fs::file_size(path, ec) == 0 && !ec;
    if (empty) {
        // Nothing to read: an empty drawing, as a new one.
        emptyDocument();
        return ReadOutcome::Whole;
    }
    std::string error;
    std::unique_ptr<CArchive> ar = CArchive::openForReading(path, &error);
    if (!ar) {
        m_services.questions.message(error, {}, MessageIcon::Error);
        return ReadOutcome::Failed;
    }
    m_readingFile = path;
    const ReadOutcome outcome = loadBlock(*ar, true);
    m_readingFile.clear();
    return outcome;
}

int CKoviraDoc::OnOpenDocument(const fs::path& path)
{
    const ReadOutcome outcome = readFile(path);
    m_bLastOpenDamaged = outcome == ReadOutcome::Damaged;
    if (outcome == ReadOutcome::Failed) return 0;
    m_bModified = m_bLastOpenDamaged;
    m_bBackupDue = m_bLastOpenDamaged;
    return 1;
}

// ---------------------------------------------------------------- writing

int CKoviraDoc::writeDocument(CArchive& ar, std::string_view block, bool quiet, bool* told) const
{
    UnitFileContext ctx;
    ctx.pictureFolder = TempImageFolder();
    ctx.oldPictureForm = m_services.profile.GetProfileInt(kSectionUtility, "app_savegazouold", 0) != 0;
    if (!quiet) {
        kov::platform::Questions& questions = m_services.questions;
        ctx.showMessage = [&questions, told](std::string_view text) {
            questions.message(text, {}, MessageIcon::Warning);
            if (told) *told = true;
        };
    }
    CDefFile writer;
    if (!writer.WriteStart(ar, block)) return 0;
    // A failed sub-block leaves the archive failed, so it will not be committed; the block is
    // closed in any case.
    m_PlotInfo.WriteBlock(ar, "PlotInfo");
    m_Grid.WriteBlock(ar, "Grid");
    m_Unit.WriteUnit(ar, "KovUnit", ctx);
    writer.WriteEnd(ar, block);
    return ar.error().ok() ? 1 : 0;
}

int CKoviraDoc::WriteDocumentBlock(CArchive& ar, std::string_view block) const
{
    return writeDocument(ar, block, false, nullptr);
}

int CKoviraDoc::writeFile(const fs::path& path, std::string* error, bool quiet) const
{
    // Written out as it is made: a large drawing never sits whole in memory.
    std::unique_ptr<CArchive> ar = CArchive::forWritingFile(path);
    bool told = false;
    writeDocument(*ar, kDocumentBlock, quiet, &told);
    std::string why;
    if (ar->commitTo(path, &why)) return 1;
    // The user has already heard why (a picture that could not be read).
    if (error) *error = told ? std::string() : why;
    return 0;
}

int CKoviraDoc::WriteDocumentFile(const fs::path& path, std::string* error) const
{
    return writeFile(path, error, false);
}

int CKoviraDoc::OnSaveDocument(const fs::path& path)
{
    if (m_autoSaveImage && m_services.profile.GetProfileInt(kSectionPlotMenu, "gazou_zidousave", 0) != 0) {
        // The picture is a convenience: its failure must not stop the save of the drawing.
        try {
            m_autoSaveImage(path);
        } catch (...) {
        }
    }
    std::string error;
    if (writeFile(path, &error, false)) return 1;
    if (!error.empty()) m_services.questions.message(error, {}, MessageIcon::Error);
    return 0;
}

// ---------------------------------------------------------------- commands

void CKoviraDoc::initialUpdate()
{
    RotateBackupFiles(m_services.profile, m_services.folders);
    if (m_initialUpdate) m_initialUpdate(*this);
}

void CKoviraDoc::backupBeforeDiscard(const fs::path& opening)
{
    if (!m_bBackupDue) return;
    // The newest backup itself may be what is opened next: writing it now would replace the very
    // drawing the user chose with the one being left.
    std::error_code ec;
    if (!opening.empty() && fs::equivalent(opening, BackupFilePath(m_services.profile, m_services.folders, 0), ec))
        return;
    WriteBackupFile();
}

bool CKoviraDoc::SaveModified()
{
    if (!m_bModified) return true;
    switch (m_services.questions.askYesNoCancel(m_strTitle + std::string(kAskSaveChanges))) {
    case kov::platform::Answer::Yes: return DoFileSave();
    case kov::platform::Answer::No: return true;
    default: return false;
    }
}

bool CKoviraDoc::CanCloseFrame()
{
    if (!SaveModified()) return false;
    backupBeforeDiscard({});
    return true;
}

bool CKoviraDoc::FileNew()
{
    return fileNew({});
}

bool CKoviraDoc::fileNew(const fs::path& opening)
{
    if (!SaveModified()) return false;
    backupBeforeDiscard(opening);
    startUntitled();
    return true;
}

void CKoviraDoc::emptyUntitled()
{
    OnNewDocument();
    m_strPathName.clear();
    m_strTitle = std::string(kUntitledTitle);
}

void CKoviraDoc::startUntitled()
{
    emptyUntitled();
    m_bStarted = true;
    initialUpdate();
}

bool CKoviraDoc::OpenDocumentFile(const fs::path& path)
{
    if (!SaveModified()) return false;
    backupBeforeDiscard(path);
    if (!OnOpenDocument(path)) {
        // At start-up there is no drawing to keep: an empty untitled one stands in. No first update
        // follows, since the program ends; a start that failed must not rotate the backups.
        if (!m_bStarted) emptyUntitled();
        return false;
    }
    m_bStarted = true;
    if (m_bLastOpenDamaged) {
        // Shown under its name, but Save must ask where to put what was salvaged.
        m_strPathName.clear();
        m_strTitle = path.filename().string();
    } else {
        SetPathName(path);
    }
    initialUpdate();
    return true;
}

bool CKoviraDoc::OpenAsNewDrawing(const fs::path& path)
{
    if (!fileNew(path)) return false;
    OnNewDocument();
    if (!OnOpenDocument(path)) return false;
    // The drawing now lives in no document file of its own: leaving it must ask.
    SetModifiedFlag(true);
    return true;
}

fs::path CKoviraDoc::ExportName(std::string_view extension) const
{
    fs::path name = m_strPathName.empty() ? fs::path(m_strTitle) : m_strPathName.filename();
    name.replace_extension(fs::path(std::string(extension)));
    return name;
}

fs::path CKoviraDoc::ExportName(std::string_view extension, std::string_view filter) const
{
    const std::size_t star = filter.find("*.");
    if (star == std::string_view::npos) return ExportName(extension);
    const std::size_t end = filter.find_first_of(");|", star);
    return ExportName(filter.substr(star + 1, end == std::string_view::npos ? std::string_view::npos : end - star - 1));
}

bool CKoviraDoc::saveUnder(std::optional<fs::path> path)
{
    if (!path) {
        fs::path initial = m_strPathName.empty() ? fs::path(m_strTitle) : m_strPathName;
        if (!initial.has_extension()) initial += kDocumentExtension;
        path = m_services.questions.chooseSaveFile(kSaveAsTitle, kSaveFilter, initial);
        if (!path) return false;
        if (!path->has_extension()) *path += kDocumentExtension;
    }
    if (!OnSaveDocument(*path)) return false;
    SetPathName(*path);
    m_bModified = false;
    m_bLastOpenDamaged = false;
    return true;
}

bool CKoviraDoc::DoFileSave()
{
    if (m_strPathName.empty()) return saveUnder(std::nullopt);
    return saveUnder(m_strPathName);
}

bool CKoviraDoc::DoFileSaveAs()
{
    return saveUnder(std::nullopt);
}

// ---------------------------------------------------------------- backups

int CKoviraDoc::WriteBackupFile()
{
    if (!BackupsEnabled(m_services.profile)) return 0;
    kov::platform::ensureFolder(BackupFolder());
    // Quiet: a backup runs unasked and must not interrupt the user.
    if (!writeFile(BackupFilePath(m_services.profile, m_services.folders, 0), nullptr, true)) return 0;
    m_bBackupDue = false;
    return 1;
}

bool CKoviraDoc::OpenBackupFile(int number)
{
    const fs::path path = BackupFilePath(m_services.profile, m_services.folders, number);
    // The file-new below must not rotate: the backup being opened would move away under it.
    SetBackupOpening(m_services.profile, true);
    const bool started = fileNew(path);
    SetBackupOpening(m_services.profile, false);
    if (!started) return false;
    OnNewDocument();
    if (!OnOpenDocument(path)) return false;
    SetModifiedFlag(true);
    return true;
}

} // namespace kov::app

#include "app/QtQuestions.h"

#include "app/AppInfo.h"
#include "platform/Color.h"
#include "platform/FontSubstitution.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QStandardPaths>
#include <QDir>
#include <QFontDialog>
#include <QMessageBox>

#include <cstdlib>

#include <vector>

namespace kov::app {

using namespace kov::platform;

namespace {

QString qs(std::string_view s)
{
    return QString::fromUtf8(s);
}

QString pathText(const std::filesystem::path& p)
{
    return QString::fromStdString(p.string());
}

std::optional<std::filesystem::path> chosenPath(const QString& s)
{
    if (s.isEmpty()) return std::nullopt;
    return std::filesystem::path(s.toStdString());
}

} // namespace

Answer QtQuestions::messageBox(std::string_view text, std::string_view caption, MessageIcon icon, Buttons buttons)
{
    QMessageBox box(m_parent);
    box.setWindowTitle(caption.empty() ? QString::fromUtf8(kProgramName) : qs(caption));
    box.setText(qs(text));
    switch (icon) {
    case MessageIcon::Information: box.setIcon(QMessageBox::Information); break;
    case MessageIcon::Warning: box.setIcon(QMessageBox::Warning); break;
    case MessageIcon::Error: box.setIcon(QMessageBox::Critical); break;
    case MessageIcon::Question: box.setIcon(QMessageBox::Question); break;
    case MessageIcon::None: break;
    }
    switch (buttons) {
    case Buttons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case Buttons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case Buttons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    case Buttons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Ok: return Answer::Ok;
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    default:
        // Closing the box is its cancel, or its only answer when there is no cancel.
        if (buttons == Buttons::Ok) return Answer::Ok;
        if (buttons == Buttons::YesNo) return Answer::No;
        return Answer::Cancel;
    }
}

std::optional<uint32_t> QtQuestions::chooseColor(uint32_t initial, CustomColors* customColors)
{
    if (customColors) {
        for (int i = 0; i < static_cast<int>(customColors->size()) && i < QColorDialog::customCount(); ++i)
            QColorDialog::setCustomColor(i, toQColor((*customColors)[i]));
    }
    const QColor chosen = QColorDialog::getColor(toQColor(initial), m_parent);
    if (customColors) {
        for (int i = 0; i < static_cast<int>(customColors->size()) && i < QColorDialog::customCount(); ++i)
            (*customColors)[i] = fromQColor(QColorDialog::customColor(i));
    }
    if (!chosen.isValid()) return std::nullopt;
    return fromQColor(chosen);
}

std::optional<FontChoice> QtQuestions::chooseFont(const FontChoice& initial)
{
    QFont font(substituteFace(initial.faceName).family);
    if (initial.height != 0) font.setPixelSize(std::abs(initial.height));
    // Qt 6 weights use the same 100-900 scale as logical fonts; 0 means normal.
    font.setWeight(static_cast<QFont::Weight>(qBound(100, initial.weight == 0 ? 400 : initial.weight, 900)));
    font.setItalic(initial.italic);
    font.setUnderline(initial.underline);
    font.setStrikeOut(initial.strikeOut);
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, font, m_parent);
    if (!ok) return std::nullopt;
    FontChoice out = initial;
    out.faceName = chosen.family().toStdString();
    if (chosen.pixelSize() > 0) out.height = initial.height < 0 ? -chosen.pixelSize() : chosen.pixelSize();
    out.weight = static_cast<int32_t>(chosen.weight());
    out.italic = chosen.italic();
    out.underline = chosen.underline();
    out.strikeOut = chosen.strikeOut();
    return out;
}

std::optional<std::filesystem::path> QtQuestions::chooseFolder(std::string_view title,
                                                               const std::filesystem::path& initial)
{
    return chosenPath(QFileDialog::getExistingDirectory(m_parent, qs(title), pathText(startPath(initial))));
}

std::string QtFileFilter(std::string_view filter)
{
    if (filter.find('|') == std::string_view::npos)
        return std::string(filter);
    std::vector<std::string> parts;
    std::string current;
    for (char c : filter) {
        if (c == '|') {
            parts.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty())
        parts.push_back(current);
    std::string out;
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        std::string description = parts[i];
        std::string patterns = parts[i + 1];
        if (description.empty() && patterns.empty())
            continue;
        // The dialogs read the patterns from the last bracket: a bracket of patterns already at the
        // end of the description goes, so the list does not show them twice.
        while (!description.empty() && description.back() == ' ')
            description.pop_back();
        const std::size_t open = description.rfind('(');
        if (!description.empty() && description.back() == ')' && open != std::string::npos &&
            description.find('*', open) != std::string::npos)
            description.erase(open);
        while (!description.empty() && description.back() == ' ')
            description.pop_back();
        for (char& c : patterns)
            if (c == ';')
                c = ' ';
        while (!patterns.empty() && patterns.front() == ' ')
            patterns.erase(0, 1);
        while (!patterns.empty() && patterns.back() == ' ')
            patterns.pop_back();
        if (!out.empty())
            out += ";;";
        out += description + " (" + patterns + ")";
    }
    return out;
}

std::filesystem::path DialogStartPath(const std::filesystem::path& initial, const std::filesystem::path& startFolder)
{
    if (initial.is_absolute()) return initial;
    if (initial.empty()) return startFolder;
    return startFolder / initial;
}

std::filesystem::path QtQuestions::startPath(const std::filesystem::path& initial) const
{
    std::filesystem::path folder = m_drawingFolder ? m_drawingFolder() : std::filesystem::path();
    if (folder.empty()) {
        // Never the process's working folder: the user's documents, or home when there is none.
        QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        if (documents.isEmpty() || !QDir(documents).exists()) documents = QDir::homePath();
        folder = std::filesystem::path(documents.toStdString());
    }
    return DialogStartPath(initial, folder);
}

std::optional<std::filesystem::path> QtQuestions::chooseOpenFile(std::string_view title, std::string_view filter,
                                                                 const std::filesystem::path& initial)
{
    return chosenPath(QFileDialog::getOpenFileName(m_parent, qs(title), pathText(startPath(initial)), qs(QtFileFilter(filter))));
}

std::optional<std::filesystem::path> QtQuestions::chooseSaveFile(std::string_view title, std::string_view filter,
                                                                 const std::filesystem::path& initial)
{
    return chosenPath(QFileDialog::getSaveFileName(m_parent, qs(title), pathText(startPath(initial)), qs(QtFileFilter(filter))));
}

} // namespace kov::app

#include "platform/Questions.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <utility>

namespace kov::platform {

namespace {

ScriptedQuestions::Reporter& defaultReporter()
{
    static ScriptedQuestions::Reporter reporter;
    return reporter;
}

const char* kindName(QuestionKind kind)
{
    switch (kind) {
    case QuestionKind::Message: return "message";
    case QuestionKind::Color: return "colour chooser";
    case QuestionKind::Font: return "font chooser";
    case QuestionKind::Folder: return "folder chooser";
    case QuestionKind::OpenFile: return "open-file chooser";
    case QuestionKind::SaveFile: return "save-file chooser";
    }
    return "question";
}

const char* buttonsName(Buttons buttons)
{
    switch (buttons) {
    case Buttons::Ok: return "OK";
    case Buttons::OkCancel: return "OK/Cancel";
    case Buttons::YesNo: return "Yes/No";
    case Buttons::YesNoCancel: return "Yes/No/Cancel";
    }
    return "?";
}

const char* answerName(Answer answer)
{
    switch (answer) {
    case Answer::Ok: return "OK";
    case Answer::Cancel: return "Cancel";
    case Answer::Yes: return "Yes";
    case Answer::No: return "No";
    }
    return "?";
}

bool offers(Buttons buttons, Answer answer)
{
    switch (buttons) {
    case Buttons::Ok: return answer == Answer::Ok;
    case Buttons::OkCancel: return answer == Answer::Ok || answer == Answer::Cancel;
    case Buttons::YesNo: return answer == Answer::Yes || answer == Answer::No;
    case Buttons::YesNoCancel: return answer != Answer::Ok;
    }
    return false;
}

std::string describe(const AskedQuestion& q)
{
    std::string d = kindName(q.kind);
    if (q.kind == QuestionKind::Message) d += std::string(" (") + buttonsName(q.buttons) + ")";
    if (!q.text.empty()) d += " \"" + q.text + "\"";
    return d;
}

} // namespace

ScriptedQuestions::ScriptedQuestions(Reporter reporter)
    : m_reporter(reporter ? std::move(reporter) : defaultReporter())
{
}

ScriptedQuestions::~ScriptedQuestions()
{
    std::vector<std::string> problems;
    if (!m_failuresReported) problems = m_failures;
    for (const Scripted& s : m_queue) {
        std::string what = kindName(s.kind);
        if (s.kind == QuestionKind::Message) what += std::string(" answered ") + answerName(s.answer);
        if (!s.expectedText.empty()) what += " \"" + s.expectedText + "\"";
        problems.push_back("scripted answer never asked for: " + what);
    }
    if (problems.empty()) return;
    if (m_reporter) {
        for (const std::string& p : problems) m_reporter(p);
        return;
    }
    // Going away while an exception propagates: that exception already fails the test.
    if (std::uncaught_exceptions() > 0) return;
    for (const std::string& p : problems) std::fprintf(stderr, "ScriptedQuestions: %s\n", p.c_str());
    std::abort();
}

void ScriptedQuestions::setDefaultReporter(Reporter reporter)
{
    defaultReporter() = std::move(reporter);
}

ScriptedQuestions& ScriptedQuestions::acknowledge(std::string_view expectedText)
{
    m_queue.push_back({QuestionKind::Message, true, Answer::Ok, std::string(expectedText), {}, {}, {}});
    return *this;
}

ScriptedQuestions& ScriptedQuestions::reply(Answer answer, std::string_view expectedText)
{
    m_queue.push_back({QuestionKind::Message, false, answer, std::string(expectedText), {}, {}, {}});
    return *this;
}

ScriptedQuestions& ScriptedQuestions::pickColor(std::optional<uint32_t> color)
{
    m_queue.push_back({QuestionKind::Color, false, Answer::Ok, {}, color, {}, {}});
    return *this;
}

ScriptedQuestions& ScriptedQuestions::pickFont(std::optional<FontChoice> font)
{
    m_queue.push_back({QuestionKind::Font, false, Answer::Ok, {}, {}, std::move(font), {}});
    return *this;
}

ScriptedQuestions& ScriptedQuestions::pickFolder(std::optional<std::filesystem::path> folder)
{
    m_queue.push_back({QuestionKind::Folder, false, Answer::Ok, {}, {}, {}, std::move(folder)});
    return *this;
}

ScriptedQuestions& ScriptedQuestions::pickOpenFile(std::optional<std::filesystem::path> file)
{
    m_queue.push_back({QuestionKind::OpenFile, false, Answer::Ok, {}, {}, {}, std::move(file)});
    return *this;
}

ScriptedQuestions& ScriptedQuestions::pickSaveFile(std::optional<std::filesystem::path> file)
{
    m_queue.push_back({QuestionKind::SaveFile, false, Answer::Ok, {}, {}, {}, std::move(file)});
    return *this;
}

std::vector<std::string> ScriptedQuestions::takeFailures()
{
    m_failuresReported = false;
    return std::exchange(m_failures, {});
}

void ScriptedQuestions::fail(const AskedQuestion& question, const std::string& why)
{
    std::string failure = "unexpected " + describe(question) + ": " + why;
    m_failures.push_back(failure);
    if (m_reporter) {
        m_reporter(failure);
        m_failuresReported = true;
    }
    throw UnexpectedQuestion(failure);
}

ScriptedQuestions::Scripted ScriptedQuestions::take(const AskedQuestion& question)
{
    m_asked.push_back(question);
    if (m_queue.empty()) fail(question, "no answer queued");
    const Scripted& next = m_queue.front();
    if (next.kind != question.kind)
        fail(question, std::string("the next answer is for a ") + kindName(next.kind));
    if (question.kind == QuestionKind::Message) {
        if (next.plainMessage != (question.buttons == Buttons::Ok))
            fail(question, next.plainMessage ? "the next answer acknowledges a plain message"
                                             : std::string("the next answer is ") + answerName(next.answer));
        if (!offers(question.buttons, next.answer))
            fail(question, std::string("the next answer is ") + answerName(next.answer));
    }
    if (!next.expectedText.empty() && question.text.find(next.expectedText) == std::string::npos)
        fail(question, "the next answer expects \"" + next.expectedText + "\"");
    Scripted s = std::move(m_queue.front());
    m_queue.pop_front();
    return s;
}

Answer ScriptedQuestions::messageBox(std::string_view text, std::string_view caption, MessageIcon icon,
                                     Buttons buttons)
{
    AskedQuestion q;
    q.kind = QuestionKind::Message;
    q.text = text;
    q.caption = caption;
    q.icon = icon;
    q.buttons = buttons;
    return take(q).answer;
}

std::optional<uint32_t> ScriptedQuestions::chooseColor(uint32_t initial, CustomColors*)
{
    AskedQuestion q;
    q.kind = QuestionKind::Color;
    q.initialColor = initial;
    return take(q).color;
}

std::optional<FontChoice> ScriptedQuestions::chooseFont(const FontChoice& initial)
{
    AskedQuestion q;
    q.kind = QuestionKind::Font;
    q.initialFont = initial;
    return take(q).font;
}

std::optional<std::filesystem::path> ScriptedQuestions::chooseFolder(std::string_view title,
                                                                     const std::filesystem::path& initial)
{
    AskedQuestion q;
    q.kind = QuestionKind::Folder;
    q.text = title;
    q.initialPath = initial;
    return take(q).path;
}

std::optional<std::filesystem::path> ScriptedQuestions::chooseOpenFile(std::string_view title,
                                                                       std::string_view filter,
                                                                       const std::filesystem::path& initial)
{
    return chooseFile(QuestionKind::OpenFile, title, filter, initial);
}

std::optional<std::filesystem::path> ScriptedQuestions::chooseSaveFile(std::string_view title,
                                                                       std::string_view filter,
                                                                       const std::filesystem::path& initial)
{
    return chooseFile(QuestionKind::SaveFile, title, filter, initial);
}

std::optional<std::filesystem::path> ScriptedQuestions::chooseFile(QuestionKind kind, std::string_view title,
                                                                   std::string_view filter,
                                                                   const std::filesystem::path& initial)
{
    AskedQuestion q;
    q.kind = kind;
    q.text = title;
    q.filter = filter;
    q.initialPath = initial;
    return take(q).path;
}

} // namespace kov::platform

#pragma once

// Every message and question the program puts to the user goes through one interface: the shell
// answers with Qt dialogs, tests with ScriptedQuestions.

#include <array>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kov::platform {

enum class MessageIcon { None, Information, Warning, Error, Question };
enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
enum class Answer { Ok, Cancel, Yes, No };

// What the font chooser shows and returns, as a logical font carries it.
struct FontChoice {
    std::string faceName;
    int32_t height = 0;    // device pixels; negative gives the character height
    int32_t weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    uint32_t color = 0;    // COLORREF 0x00BBGGRR

    bool operator==(const FontChoice&) const = default;
};

using CustomColors = std::array<uint32_t, 16>;

class Questions {
public:
    virtual ~Questions() = default;

    virtual Answer messageBox(std::string_view text, std::string_view caption, MessageIcon icon, Buttons buttons) = 0;
    // Colours are COLORREF; the custom colours, when given, are shown and take the user's edits.
    virtual std::optional<uint32_t> chooseColor(uint32_t initial, CustomColors* customColors = nullptr) = 0;
    virtual std::optional<FontChoice> chooseFont(const FontChoice& initial) = 0;
    virtual std::optional<std::filesystem::path> chooseFolder(std::string_view title,
                                                              const std::filesystem::path& initial) = 0;
    // Filters in Qt's form: "図面ファイル (*.kvr);;すべてのファイル (*)".
    virtual std::optional<std::filesystem::path> chooseOpenFile(std::string_view title, std::string_view filter,
                                                                const std::filesystem::path& initial) = 0;
    virtual std::optional<std::filesystem::path> chooseSaveFile(std::string_view title, std::string_view filter,
                                                                const std::filesystem::path& initial) = 0;

    void message(std::string_view text, std::string_view caption = {}, MessageIcon icon = MessageIcon::Information)
    {
        messageBox(text, caption, icon, Buttons::Ok);
    }
    bool askOkCancel(std::string_view text, std::string_view caption = {}, MessageIcon icon = MessageIcon::Question)
    {
        return messageBox(text, caption, icon, Buttons::OkCancel) == Answer::Ok;
    }
    bool askYesNo(std::string_view text, std::string_view caption = {}, MessageIcon icon = MessageIcon::Question)
    {
        return messageBox(text, caption, icon, Buttons::YesNo) == Answer::Yes;
    }
    Answer askYesNoCancel(std::string_view text, std::string_view caption = {},
                          MessageIcon icon = MessageIcon::Question)
    {
        return messageBox(text, caption, icon, Buttons::YesNoCancel);
    }
};

enum class QuestionKind { Message, Color, Font, Folder, OpenFile, SaveFile };

// One question as it was put.
struct AskedQuestion {
    QuestionKind kind = QuestionKind::Message;
    std::string text;      // the message, or the chooser's title
    std::string caption;
    MessageIcon icon = MessageIcon::None;
    Buttons buttons = Buttons::Ok;
    std::string filter;
    std::filesystem::path initialPath;
    uint32_t initialColor = 0;
    FontChoice initialFont;
};

class UnexpectedQuestion : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

// Answers queued ahead, in the order the questions come. A question that finds no answer of its
// kind (or whose text lacks the expected part) throws UnexpectedQuestion and is recorded as a
// failure. Failures and answers never asked for are reported when the object goes away: through
// the reporter (a test passes one that adds a test failure), or, without one, by aborting the test
// program, so that code which swallows the exception cannot hide them.
class ScriptedQuestions final : public Questions {
public:
    using Reporter = std::function<void(const std::string& failure)>;

    explicit ScriptedQuestions(Reporter reporter = {});
    ~ScriptedQuestions() override;
    ScriptedQuestions(const ScriptedQuestions&) = delete;
    ScriptedQuestions& operator=(const ScriptedQuestions&) = delete;

    // The reporter of objects made without one; a test main sets it once.
    static void setDefaultReporter(Reporter reporter);

    // A message with only an OK button.
    ScriptedQuestions& acknowledge(std::string_view expectedText = {});
    // A question with OK/Cancel, Yes/No or Yes/No/Cancel, answered with one of its buttons.
    ScriptedQuestions& reply(Answer answer, std::string_view expectedText = {});
    // Choosers: a value picks it, nullopt cancels.
    ScriptedQuestions& pickColor(std::optional<uint32_t> color);
    ScriptedQuestions& pickFont(std::optional<FontChoice> font);
    ScriptedQuestions& pickFolder(std::optional<std::filesystem::path> folder);
    ScriptedQuestions& pickOpenFile(std::optional<std::filesystem::path> file);
    ScriptedQuestions& pickSaveFile(std::optional<std::filesystem::path> file);

    const std::vector<AskedQuestion>& asked() const { return m_asked; }
    std::size_t pending() const { return m_queue.size(); }
    const std::vector<std::string>& failures() const { return m_failures; }
    // Hands the failures over to the caller, who then answers for them.
    std::vector<std::string> takeFailures();

    Answer messageBox(std::string_view text, std::string_view caption, MessageIcon icon, Buttons buttons) override;
    std::optional<uint32_t> chooseColor(uint32_t initial, CustomColors* customColors = nullptr) override;
    std::optional<FontChoice> chooseFont(const FontChoice& initial) override;
    std::optional<std::filesystem::path> chooseFolder(std::string_view title,
                                                      const std::filesystem::path& initial) override;
    std::optional<std::filesystem::path> chooseOpenFile(std::string_view title, std::string_view filter,
                                                        const std::filesystem::path& initial) override;
    std::optional<std::filesystem::path> chooseSaveFile(std::string_view title, std::string_view filter,
                                                        const std::filesystem::path& initial) override;

private:
    struct Scripted {
        QuestionKind kind;
        bool plainMessage = false; // acknowledge(): OK-only messages
        Answer answer = Answer::Ok;
        std::string expectedText;
        std::optional<uint32_t> color;
        std::optional<FontChoice> font;
        std::optional<std::filesystem::path> path;
    };

    Scripted take(const AskedQuestion& question);
    std::optional<std::filesystem::path> chooseFile(QuestionKind kind, std::string_view title, std::string_view filter,
                                                    const std::filesystem::path& initial);
    [[noreturn]] void fail(const AskedQuestion& question, const std::string& why);

    Reporter m_reporter;
    std::deque<Scripted> m_queue;
    std::vector<AskedQuestion> m_asked;
    std::vector<std::string> m_failures;
    bool m_failuresReported = false; // already passed to the reporter when they happened
};

} // namespace kov::platform

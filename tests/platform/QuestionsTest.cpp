#include "platform/Questions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace kov::platform;

namespace {

// Collects what a ScriptedQuestions reports, so the reports themselves can be checked.
struct Reports {
    std::vector<std::string> lines;
    ScriptedQuestions::Reporter reporter()
    {
        return [this](const std::string& line) { lines.push_back(line); };
    }
};

TEST(ScriptedQuestions, AnswersInOrderAndRecordsWhatWasAsked)
{
    ScriptedQuestions q([](const std::string& f) { ADD_FAILURE() << f; });
    FontChoice gothic{"ＭＳ ゴシック", -16, 700, false, false, false, 0x0000FF};
    q.acknowledge("失敗")
        .reply(Answer::Cancel, "削除してよろしいですか")
        .reply(Answer::Yes)
        .reply(Answer::No)
        .pickColor(0x00FF00)
        .pickColor(std::nullopt)
        .pickFont(gothic)
        .pickFolder("/home/u/共通")
        .pickOpenFile("/home/u/a.kvr")
        .pickSaveFile(std::nullopt);

    q.message("表示記号作成に失敗しました。");
    EXPECT_FALSE(q.askOkCancel("編集中レイヤーの補助線を全て削除してよろしいですか？"));
    EXPECT_TRUE(q.askYesNo("上書しますか？"));
    EXPECT_EQ(q.askYesNoCancel("保存しますか？", "コビラ"), Answer::No);
    EXPECT_EQ(q.chooseColor(0x123456), 0x00FF00u);
    EXPECT_EQ(q.chooseColor(0), std::nullopt);
    EXPECT_EQ(q.chooseFont(FontChoice{"IPAGothic", -12}), gothic);
    EXPECT_EQ(q.chooseFolder("部品を保管するフォルダを選択してください。", "/home/u"), "/home/u/共通");
    EXPECT_EQ(q.chooseOpenFile("開く", "図面ファイル (*.kvr)", "/home/u"), "/home/u/a.kvr");
    EXPECT_EQ(q.chooseSaveFile("保存", "DXF (*.dxf)", "/home/u/a.dxf"), std::nullopt);
    EXPECT_EQ(q.pending(), 0u);

    const auto& asked = q.asked();
    ASSERT_EQ(asked.size(), 10u);
    EXPECT_EQ(asked[0].buttons, Buttons::Ok);
    EXPECT_EQ(asked[0].icon, MessageIcon::Information);
    EXPECT_EQ(asked[1].buttons, Buttons::OkCancel);
    EXPECT_EQ(asked[3].caption, "コビラ");
    EXPECT_EQ(asked[4].initialColor, 0x123456u);
    EXPECT_EQ(asked[6].initialFont.faceName, "IPAGothic");
    EXPECT_EQ(asked[7].initialPath, "/home/u");
    EXPECT_EQ(asked[8].filter, "図面ファイル (*.kvr)");
    EXPECT_EQ(asked[9].kind, QuestionKind::SaveFile);
}

TEST(ScriptedQuestions, AnUnexpectedQuestionThrowsAndIsReported)
{
    struct Case {
        const char* name;
        std::function<void(ScriptedQuestions&)> script;
        std::function<void(ScriptedQuestions&)> ask;
    };
    const Case cases[] = {
        {"nothing queued", [](ScriptedQuestions&) {}, [](ScriptedQuestions& q) { q.message("x"); }},
        {"a chooser where a message was queued", [](ScriptedQuestions& q) { q.acknowledge(); },
         [](ScriptedQuestions& q) { q.chooseColor(0); }},
        {"a question where a plain message was queued", [](ScriptedQuestions& q) { q.acknowledge(); },
         [](ScriptedQuestions& q) { q.askOkCancel("x"); }},
        {"a plain message where a reply was queued", [](ScriptedQuestions& q) { q.reply(Answer::Ok); },
         [](ScriptedQuestions& q) { q.message("x"); }},
        {"an answer the question does not offer", [](ScriptedQuestions& q) { q.reply(Answer::Yes); },
         [](ScriptedQuestions& q) { q.askOkCancel("x"); }},
        {"OK offered by no yes/no/cancel", [](ScriptedQuestions& q) { q.reply(Answer::Ok); },
         [](ScriptedQuestions& q) { q.askYesNoCancel("x"); }},
        {"other text", [](ScriptedQuestions& q) { q.acknowledge("失敗"); },
         [](ScriptedQuestions& q) { q.message("完了しました"); }},
        {"the wrong chooser", [](ScriptedQuestions& q) { q.pickOpenFile("/a"); },
         [](ScriptedQuestions& q) { q.chooseSaveFile("t", "", "/a"); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Reports reports;
        {
            ScriptedQuestions q(reports.reporter());
            c.script(q);
            EXPECT_THROW(c.ask(q), UnexpectedQuestion);
            EXPECT_EQ(q.failures().size(), 1u);
            EXPECT_EQ(q.asked().size(), 1u);
        }
        // Reported when it happened; an answer left unused is reported again at the end.
        ASSERT_FALSE(reports.lines.empty());
        EXPECT_NE(reports.lines[0].find("unexpected"), std::string::npos) << reports.lines[0];
    }
}

TEST(ScriptedQuestions, AnswersNeverAskedForAreReported)
{
    Reports reports;
    {
        ScriptedQuestions q(reports.reporter());
        q.acknowledge("表示記号作成に失敗しました。").pickColor(1);
        q.message("表示記号作成に失敗しました。");
    }
    ASSERT_EQ(reports.lines.size(), 1u);
    EXPECT_NE(reports.lines[0].find("never asked"), std::string::npos) << reports.lines[0];
}

TEST(ScriptedQuestions, TakenFailuresAreTheCallersToAnswerFor)
{
    Reports reports;
    {
        ScriptedQuestions q(reports.reporter());
        EXPECT_THROW(q.askYesNo("x"), UnexpectedQuestion);
        EXPECT_EQ(q.takeFailures().size(), 1u);
        EXPECT_TRUE(q.failures().empty());
    }
    EXPECT_EQ(reports.lines.size(), 1u); // only the report when it happened
}

TEST(ScriptedQuestionsDeathTest, ASwallowedUnexpectedQuestionStillEndsTheTestProgram)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(
        {
            ScriptedQuestions::setDefaultReporter({}); // in the child only: no test main's reporter
            ScriptedQuestions q;
            try {
                q.message("誰も答えない");
            } catch (...) {
                // Code under test that hides every error.
            }
        },
        "unexpected message");
}

} // namespace

#include "scriptedprompts.h"

#include <QTest>

using namespace urbaflux;

// The scripted prompts are what every window test leans on: they must fail a test that meets a
// prompt nobody expected, and one that leaves an answer unasked.
class TestScriptedPrompts : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void unexpectedPromptFailsTheTest()
    {
        ScriptedPrompts prompts;
        prompts.expectColour(std::nullopt);
        QEXPECT_FAIL("", "a message box nobody queued", Continue);
        const MessageAnswer answer =
            prompts.message({MessageIcon::Question, QStringLiteral("t"), QStringLiteral("x"),
                             MessageButtons::YesNo, MessageAnswer::Yes});
        QCOMPARE(answer, MessageAnswer::No); // the cautious answer
        QVERIFY(prompts.hasFailed());
        QCOMPARE(prompts.pending(), 1); // the colour answer is still there
        QCOMPARE(prompts.messages().size(), 1);
    }

    void leftoverAnswerFailsVerifyDone()
    {
        ScriptedPrompts prompts;
        prompts.expectOpenFile(QStringLiteral("/tmp/a"));
        QEXPECT_FAIL("", "an answer nobody asked for", Continue);
        QVERIFY(!prompts.verifyDone());
        QCOMPARE(prompts.openFile({}), QStringLiteral("/tmp/a"));
    }
};

QTEST_MAIN(TestScriptedPrompts)
#include "tst_scriptedprompts.moc"

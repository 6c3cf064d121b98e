// The recovery copy: typed data survive a kill. The test runs itself a second time as the
// "program" (URBAFLUX_RECOVERY_CHILD set): that copy types into the real windows, waits for its
// recovery copy and is then killed with SIGKILL, so that no exit code of ours runs. The test
// then starts as the program does after a crash and restores the copy.

#include "../report/reportsamples.h"
#include "frontespizio.h"
#include "recoverycopy.h"
#include "windowtestfixture.h"

#include <completearchive.h>
#include <recoveryarchive.h>

#include <QDir>
#include <QLineEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

using namespace urbaflux;

namespace {

const char* const kChildVariable = "URBAFLUX_RECOVERY_CHILD";

const QString kCommittente = QStringLiteral("Comune di Lucca \U0001F600");
const QString kProgetto = QStringLiteral("Piano dei servizi, «variante» 2027");

void typeTitlePage(WindowTestFixture& f)
{
    auto* window = f.show<Frontespizio>(WindowId::Frontespizio);
    for (const auto& [name, text] :
         {std::pair{"committente", kCommittente}, {"progetto", kProgetto}}) {
        auto* box = window->findChild<QLineEdit*>(QString::fromLatin1(name));
        if (!box)
            std::abort();
        // Key by key, as a keyboard would send them; keyClicks takes ASCII only.
        for (qsizetype i = 0; i < text.size(); ++i) {
            const qsizetype units = text[i].isHighSurrogate() ? 2 : 1;
            QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, text.mid(i, units),
                                Qt::NoModifier);
            i += units - 1;
        }
    }
}

// The program killed by the test: an elaboration of three areas, the title page typed.
int runChild(int argc, char** argv)
{
    QApplication app(argc, argv);
    WindowTestFixture f(&createWindow);
    f.state = *samples::elaboration(3);
    f.state.notifier = nullptr;
    RecoveryCopy copy(f.context, qEnvironmentVariable(kChildVariable), 50);
    QObject::connect(&copy, &RecoveryCopy::written, &app, [](bool ok, const QString& error) {
        std::printf("%s\n", ok ? "scritto" : qPrintable(error));
        std::fflush(stdout);
    });
    copy.start();
    typeTitlePage(f);
    return QApplication::exec(); // until killed
}

} // namespace

class TestRecoveryCopy : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void restoresExactlyAfterAKill()
    {
        QTemporaryDir folder;
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QString::fromLatin1(kChildVariable), folder.path());
        program.setProcessEnvironment(environment);
        program.start(QCoreApplication::applicationFilePath(), QStringList());
        QVERIFY(program.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(program.canReadLine() || program.state() == QProcess::NotRunning,
                                 60000);
        QCOMPARE(program.readLine(), QByteArray("scritto\n"));
        program.kill();
        QVERIFY(program.waitForFinished());
        QCOMPARE(program.exitStatus(), QProcess::CrashExit);

        // The next start.
        WindowTestFixture f(&createWindow);
        RecoveryCopy copy(f.context, folder.path());
        QFile left(copy.filePath());
        QVERIFY(left.open(QIODevice::ReadOnly));
        const auto record = parseRecoveryBytes(left.readAll(), copy.filePath());
        QVERIFY2(record.ok(), qPrintable(record.error));
        f.prompts.expectMessage(MessageAnswer::Yes);
        QVERIFY(copy.offerRestore());
        UF_VERIFY_PROMPTS(f.prompts);
        const MessageRequest asked = f.prompts.lastMessage();
        QCOMPARE(asked.icon, MessageIcon::Question);
        QCOMPARE(asked.buttons, MessageButtons::YesNo);
        QVERIFY2(QRegularExpression(QStringLiteral("^Ripristinare i dati non salvati del "
                                                   "\\d\\d/\\d\\d/\\d{4} \\d\\d:\\d\\d\\?$"))
                     .match(asked.text)
                     .hasMatch(),
                 qPrintable(asked.text));

        // Everything typed, and everything computed, as it was.
        const TitlePage restoredPage = currentTitlePage(f.context);
        QCOMPARE(restoredPage.committente, kCommittente);
        QCOMPARE(restoredPage.progetto, kProgetto);
        QCOMPARE(writeCompleteBytes(f.state, restoredPage),
                 writeCompleteBytes(*samples::elaboration(3), record.value->elaboration.titlePage));
        QCOMPARE(record.value->elaboration.titlePage.committente, kCommittente);

        // Still unsaved: the copy stays until a clean exit.
        QVERIFY(QFileInfo::exists(copy.filePath()));
        copy.removeCopy();
        QVERIFY(!QFileInfo::exists(copy.filePath()));
    }

    // A second run at the same time neither offers nor removes the first one's copy.
    void secondRunLeavesTheCopyAlone()
    {
        QTemporaryDir folder;
        WindowTestFixture f(&createWindow);
        RecoveryCopy first(f.context, folder.path(), 10);
        QSignalSpy written(&first, &RecoveryCopy::written);
        first.start();
        markInputsChanged(f.state);
        QTRY_COMPARE(written.size(), 1);
        RecoveryCopy second(f.context, folder.path(), 10);
        QVERIFY(!second.offerRestore());
        second.removeCopy();
        UF_VERIFY_PROMPTS(f.prompts);
        QVERIFY(f.prompts.verifyDone());
        QVERIFY(QFileInfo::exists(first.filePath()));
    }

    // Declined, the copy goes; nothing changes.
    void declinedCopyIsRemoved()
    {
        QTemporaryDir folder;
        {
            WindowTestFixture f(&createWindow);
            f.state = *samples::elaboration(2);
            RecoveryCopy copy(f.context, folder.path(), 10);
            QSignalSpy written(&copy, &RecoveryCopy::written);
            copy.start();
            // The data change as the windows announce it.
            markInputsChanged(f.state);
            QTRY_COMPARE(written.size(), 1);
            QVERIFY(written.first().at(0).toBool());
            // Nothing new: nothing written again.
            QTest::qWait(100);
            QCOMPARE(written.size(), 1);
        }
        WindowTestFixture f(&createWindow);
        const QByteArray before = writeCompleteBytes(f.state, TitlePage{});
        RecoveryCopy copy(f.context, folder.path());
        QVERIFY(QFileInfo::exists(copy.filePath()));
        f.prompts.expectMessage(MessageAnswer::No);
        QVERIFY(!copy.offerRestore());
        UF_VERIFY_PROMPTS(f.prompts);
        QVERIFY(!QFileInfo::exists(copy.filePath()));
        QCOMPARE(writeCompleteBytes(f.state, TitlePage{}), before);
    }
};

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsSet(kChildVariable))
        return runChild(argc, argv);
    QApplication app(argc, argv);
    TestRecoveryCopy test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_recoverycopy.moc"

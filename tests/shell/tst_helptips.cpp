// Tips of the day and the about box, through their widgets.

#include "archivefile.h"
#include "frmtipurbaflux.h"
#include "informa.h"
#include "sommario.h"
#include "windowtestfixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QStandardPaths>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace urbaflux;

namespace {

QString writeFile(const QTemporaryDir& dir, const QByteArray& bytes)
{
    const QString path = dir.filePath(FrmTipUrbaflux::tipsFileName());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
    return path;
}

// A tips window loaded as the program loads it, with no tips file to be found.
FrmTipUrbaflux* freshTips(WindowTestFixture& f)
{
    return f.show<FrmTipUrbaflux>(WindowId::TipUrbaflux);
}

} // namespace

class TestHelpTips : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        // No installed tips may stand in for the files the tests write.
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(!QFile::exists(
            QDir(QCoreApplication::applicationDirPath()).filePath(FrmTipUrbaflux::tipsFileName())));
    }

    void missingFileExplains()
    {
        WindowTestFixture f(&makeRecordingWindow);
        auto* tips = freshTips(f);
        QVERIFY(tips);
        QCOMPARE(tips->windowTitle(), QStringLiteral("Suggerimento del giorno"));
        QCOMPARE(tips->label1()->text(), QStringLiteral("Non tutti sanno che..."));
        QCOMPARE(tips->cmdprecedente()->text(), QStringLiteral("&Precedente"));
        QCOMPARE(tips->cmdNextTip()->text(), QStringLiteral("&Successivo"));
        QCOMPARE(tips->cmdOK()->text(), QStringLiteral("&Chiudi"));
        const QString expected = QStringLiteral(
            "Impossibile trovare il file SuggerimentiUrbaflux.TXT\r\n\r\nCreare un file di testo "
            "denominato SuggerimentiUrbaflux.TXT utilizzando il Blocco note e inserendo un "
            "suggerimento per ogni riga. Inserire il file nella stessa directory "
            "dell'applicazione. ");
        QCOMPARE(tips->tipText(), expected);
        QTest::mouseClick(tips->cmdNextTip(), Qt::LeftButton);
        QTest::mouseClick(tips->cmdprecedente(), Qt::LeftButton);
        QCOMPARE(tips->tipText(), expected);
        QVERIFY(!tips->LoadTips(QString()));
        QVERIFY(!tips->LoadTips(QStringLiteral("/nessuna/cartella/SuggerimentiUrbaflux.TXT")));
    }

    void loadStepReadsTheFileBesideTheProgram()
    {
        const QString path =
            QDir(QCoreApplication::applicationDirPath()).filePath(FrmTipUrbaflux::tipsFileName());
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("Citt\xE0 prima\r\nseconda\r\n"); // Windows-1252, CR LF
        }
        WindowTestFixture f(&makeRecordingWindow);
        auto* tips = freshTips(f);
        QFile::remove(path);
        QCOMPARE(tips->tips(),
                 (QStringList{QString::fromUtf8("Città prima"), QStringLiteral("seconda")}));
        QCOMPARE(tips->currentTip(), 1);
        QCOMPARE(tips->lblTipText()->text(), QString::fromUtf8("Città prima"));
    }

    void stepsForwardWithWrapAndBackWithout()
    {
        QTemporaryDir dir;
        WindowTestFixture f(&makeRecordingWindow);
        auto* tips = freshTips(f);
        QVERIFY(tips->LoadTips(writeFile(dir, "uno\r\ndue\r\ntre\r\n")));
        QCOMPARE(tips->tipText(), QStringLiteral("uno"));
        QTest::mouseClick(tips->cmdprecedente(), Qt::LeftButton); // no wrap backwards
        QCOMPARE(tips->tipText(), QStringLiteral("uno"));
        QCOMPARE(tips->currentTip(), 1);
        QStringList seen;
        for (int i = 0; i < 3; ++i) {
            QTest::mouseClick(tips->cmdNextTip(), Qt::LeftButton);
            seen << tips->tipText();
        }
        QCOMPARE(seen, (QStringList{QStringLiteral("due"), QStringLiteral("tre"),
                                    QStringLiteral("uno")}));
        QTest::mouseClick(tips->cmdNextTip(), Qt::LeftButton);
        QTest::mouseClick(tips->cmdNextTip(), Qt::LeftButton);
        QTest::mouseClick(tips->cmdprecedente(), Qt::LeftButton);
        QCOMPARE(tips->tipText(), QStringLiteral("due"));
    }

    void blankLineIsATip()
    {
        QTemporaryDir dir;
        WindowTestFixture f(&makeRecordingWindow);
        auto* tips = freshTips(f);
        QVERIFY(tips->LoadTips(writeFile(dir, "uno\r\n\r\ntre")));
        QCOMPARE(tips->tips().size(), 3);
        QTest::mouseClick(tips->cmdNextTip(), Qt::LeftButton);
        QCOMPARE(tips->tipText(), QString());
        QCOMPARE(tips->lblTipText()->text(), QString());
    }

    void emptyFileKeepsTheDesignText()
    {
        QTemporaryDir dir;
        WindowTestFixture f(&makeRecordingWindow);
        auto* tips = new FrmTipUrbaflux; // not loaded: the design-time text
        const QString design = tips->tipText();
        QVERIFY(tips->LoadTips(writeFile(dir, QByteArray())));
        QVERIFY(tips->tips().isEmpty());
        QTest::mouseClick(tips->cmdNextTip(), Qt::LeftButton);
        QTest::mouseClick(tips->cmdprecedente(), Qt::LeftButton);
        QCOMPARE(tips->tipText(), design);
        delete tips;
    }

    void lineEnds_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("CR LF") << QStringLiteral("a\r\nb\r\n")
                               << QStringList{QStringLiteral("a"), QStringLiteral("b")};
        QTest::newRow("last line without end")
            << QStringLiteral("a\r\nb") << QStringList{QStringLiteral("a"), QStringLiteral("b")};
        QTest::newRow("LF and CR")
            << QStringLiteral("a\nb\rc")
            << QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")};
        QTest::newRow("empty lines")
            << QStringLiteral("\r\n\r\nx")
            << QStringList{QStringLiteral(""), QStringLiteral(""), QStringLiteral("x")};
        QTest::newRow("one line end") << QStringLiteral("\r\n") << QStringList{QStringLiteral("")};
        QTest::newRow("nothing") << QString() << QStringList{};
    }
    void lineEnds()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, lines);
        QCOMPARE(FrmTipUrbaflux::splitTipLines(text), lines);
    }

    void closingAndReopeningKeepsTheTip()
    {
        QTemporaryDir dir;
        WindowTestFixture f(&makeRecordingWindow);
        auto* s = f.show<Sommario>(WindowId::Sommario);
        QTest::mouseClick(s->pulsante(13), Qt::LeftButton);
        QPointer<FrmTipUrbaflux> tips = f.window<FrmTipUrbaflux>(WindowId::TipUrbaflux);
        QVERIFY(tips->LoadTips(writeFile(dir, "uno\r\ndue\r\ntre\r\n")));
        QTest::mouseClick(tips->cmdNextTip(), Qt::LeftButton);
        QTest::mouseClick(tips->cmdNextTip(), Qt::LeftButton);
        QTest::mouseClick(tips->cmdOK(), Qt::LeftButton);
        QVERIFY(!tips->isVisible());
        QVERIFY(f.windows.isLoaded(WindowId::TipUrbaflux));
        QTest::mouseClick(s->pulsante(13), Qt::LeftButton);
        QCOMPARE(f.window<FrmTipUrbaflux>(WindowId::TipUrbaflux), tips.data());
        QVERIFY(tips->isVisible());
        QCOMPARE(tips->tipText(), QStringLiteral("tre"));

        // The exit unloads it; the next time it reads the file again.
        f.prompts.expectMessage(MessageAnswer::Yes);
        f.windows.confirmExit();
        UF_VERIFY_PROMPTS(f.prompts);
        WindowTestFixture::flushDeletes();
        QVERIFY(tips.isNull());
        QVERIFY(f.prompts.verifyDone());
    }

    void shippedTipsFile()
    {
        const QString path = QFINDTESTDATA("../../resources/SuggerimentiUrbaflux.TXT");
        QFile file(path);
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(path));
        const QByteArray bytes = file.readAll();
        // Windows-1252 with CR LF, as the program's archives are written.
        QCOMPARE(bytes.count('\n'), bytes.count("\r\n"));
        QCOMPARE(bytes.count('\r'), bytes.count("\r\n"));
        const QString text = decodeArchiveBytes(bytes);
        QCOMPARE(QString::fromLatin1(bytes).size(), text.size()); // one byte a character
        QCOMPARE(encodeArchiveText(text), bytes);
        const QStringList tips = FrmTipUrbaflux::splitTipLines(text);
        QVERIFY(tips.size() >= 25);
        for (const QString& tip : tips) {
            QVERIFY2(tip.trimmed().size() >= 30 && tip.size() <= 260, qPrintable(tip));
        }
        QCOMPARE(QSet<QString>(tips.begin(), tips.end()).size(), tips.size());
    }

    void aboutBox()
    {
        WindowTestFixture f(&makeRecordingWindow);
        f.state.run.programVersion = QStringLiteral("3.04.05");
        QPointer<Informa> about = f.show<Informa>(WindowId::Informa);
        QVERIFY(about);
        QCOMPARE(about->windowTitle(), QStringLiteral("Informazioni su Urbaflux"));
        QCOMPARE(about->lblName()->text(), QStringLiteral("Urbaflux"));
        QCOMPARE(about->lblDescription()->text(),
                 QStringLiteral("modelli gravitazionali urbanistici"));
        QCOMPARE(about->lblVersion()->text(),
                 QStringLiteral("edizione professionale - versione 3.04.05"));
        QCOMPARE(about->lblSystem()->text(), Informa::runningSystemText());
        if (QSysInfo::kernelType() == QStringLiteral("linux") &&
            QSysInfo::currentCpuArchitecture() == QStringLiteral("x86_64"))
            QCOMPARE(about->lblSystem()->text(), QStringLiteral("per sistemi Linux a 64 bit "));
        QCOMPARE(about->cmdOK()->text(), QStringLiteral("OK"));
        QTest::mouseClick(about->cmdOK(), Qt::LeftButton);
        QVERIFY(!about->isVisible());
        f.windows.showWindow(WindowId::Informa);
        QCOMPARE(f.window<Informa>(WindowId::Informa), about.data());
        QVERIFY(about->isVisible());
    }

    void systemText_data()
    {
        QTest::addColumn<QString>("kernel");
        QTest::addColumn<QString>("cpu");
        QTest::addColumn<QString>("text");
        QTest::newRow("linux x86_64") << QStringLiteral("linux") << QStringLiteral("x86_64")
                                      << QStringLiteral("per sistemi Linux a 64 bit ");
        QTest::newRow("linux i386") << QStringLiteral("linux") << QStringLiteral("i386")
                                    << QStringLiteral("per sistemi Linux a 32 bit ");
        QTest::newRow("linux arm64") << QStringLiteral("linux") << QStringLiteral("arm64")
                                     << QStringLiteral("per sistemi Linux a 64 bit ");
        QTest::newRow("linux arm") << QStringLiteral("linux") << QStringLiteral("arm")
                                   << QStringLiteral("per sistemi Linux a 32 bit ");
        QTest::newRow("windows") << QStringLiteral("winnt") << QStringLiteral("x86_64")
                                 << QStringLiteral("per sistemi Windows a 64 bit ");
        QTest::newRow("mac") << QStringLiteral("darwin") << QStringLiteral("arm64")
                             << QStringLiteral("per sistemi macOS a 64 bit ");
        QTest::newRow("other") << QStringLiteral("haiku") << QStringLiteral("x86_64")
                               << QStringLiteral("per sistemi Haiku a 64 bit ");
    }
    void systemText()
    {
        QFETCH(QString, kernel);
        QFETCH(QString, cpu);
        QFETCH(QString, text);
        QCOMPARE(Informa::systemText(kernel, cpu), text);
    }
};

QTEST_MAIN(TestHelpTips)
#include "tst_helptips.moc"

#include "archivefile.h"

#include <numbertext.h>

#include <QRandomGenerator>
#include <QTest>
#include <cfloat>
#include <cmath>

using namespace urbaflux;

namespace {

// The items of an archive text in a compact form: T[text], N[number], E; "ERR" on failure.
QString itemsOf(const QString& text)
{
    ArchiveReader reader(text);
    QStringList parts;
    ArchiveItem item;
    while (reader.next(item)) {
        switch (item.kind) {
        case ArchiveItem::Kind::Text:
            parts << QStringLiteral("T[%1]").arg(item.text);
            break;
        case ArchiveItem::Kind::Number:
            parts << QStringLiteral("N[%1]").arg(shortestText(item.number));
            break;
        case ArchiveItem::Kind::Empty:
            parts << QStringLiteral("E");
            break;
        }
    }
    if (reader.failed())
        parts << QStringLiteral("ERR");
    if (!reader.atEnd())
        parts << QStringLiteral("NOT-AT-END");
    return parts.join(QLatin1Char('|'));
}

QString fromLatin1(const char* s)
{
    return QString::fromLatin1(s);
}

} // namespace

class TestArchiveFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readerTakesItemsWhateverTheLines_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("items");
        QTest::newRow("one record")
            << fromLatin1("\"a\",2,,\"\"\r\n") << fromLatin1("T[a]|N[2]|E|T[]");
        QTest::newRow("records on lines")
            << fromLatin1("2\r\n\"x\",\"y\"\r\n") << fromLatin1("N[2]|T[x]|T[y]");
        QTest::newRow("LF alone") << fromLatin1("2\n\"x\"\n") << fromLatin1("N[2]|T[x]");
        QTest::newRow("CR alone") << fromLatin1("2\r\"x\"\r") << fromLatin1("N[2]|T[x]");
        QTest::newRow("no last line end") << fromLatin1("2\r\n\"x\"") << fromLatin1("N[2]|T[x]");
        QTest::newRow("trailing Ctrl-Z")
            << fromLatin1("2\r\n\"x\"\r\n\x1a") << fromLatin1("N[2]|T[x]");
        QTest::newRow("Ctrl-Z without line end") << fromLatin1("\"x\"\x1a") << fromLatin1("T[x]");
        QTest::newRow("comma inside quotes")
            << fromLatin1("\"Roma, centro\",1") << fromLatin1("T[Roma, centro]|N[1]");
        QTest::newRow("blanks kept inside quotes")
            << fromLatin1("\" 1- 2\",\"  \"") << fromLatin1("T[ 1- 2]|T[  ]");
        QTest::newRow("blanks around bare items")
            << fromLatin1("  3 , \t4\t,\"a\" ,  \"b\"  \r\n") << fromLatin1("N[3]|N[4]|T[a]|T[b]");
        QTest::newRow("empty line is one empty item")
            << fromLatin1("1\r\n\r\n2\r\n") << fromLatin1("N[1]|E|N[2]");
        QTest::newRow("empty last item") << fromLatin1("\"a\",\r\n") << fromLatin1("T[a]|E");
        QTest::newRow("empty last item at end of file")
            << fromLatin1("\"a\",") << fromLatin1("T[a]|E");
        QTest::newRow("only commas") << fromLatin1(",,") << fromLatin1("E|E|E");
        QTest::newRow("nothing") << QString() << QString();
        QTest::newRow("legacy .5")
            << fromLatin1(".5,-.5,0.5") << fromLatin1("N[0.5]|N[-0.5]|N[0.5]");
        QTest::newRow("legacy exponents") << fromLatin1("1E-04,1D-04,1.5e+20,2d3")
                                          << fromLatin1("N[0.0001]|N[0.0001]|N[1.5E+20]|N[2000]");
        QTest::newRow("plus sign") << fromLatin1("+7") << fromLatin1("N[7]");
        QTest::newRow("infinity is no number") << fromLatin1("1,Inf,2") << fromLatin1("N[1]|ERR");
        QTest::newRow("beyond a double") << fromLatin1("1e400") << fromLatin1("ERR");
        QTest::newRow("too small for a double is 0") << fromLatin1("1e-400") << fromLatin1("N[0]");
        QTest::newRow("quote inside an old text") << fromLatin1("\"il \"centro\" storico\",5")
                                                  << fromLatin1("T[il \"centro\" storico]|N[5]");
        QTest::newRow("quoted text over two lines")
            << fromLatin1("\"a\r\nb\",1") << fromLatin1("T[a\r\nb]|N[1]");
        QTest::newRow("unclosed text") << fromLatin1("\"abc,1\r\n") << fromLatin1("ERR");
        QTest::newRow("text not followed by a separator")
            << fromLatin1("\"abc\"x") << fromLatin1("ERR");
        QTest::newRow("bare word") << fromLatin1("1,abc,2") << fromLatin1("N[1]|ERR");
        QTest::newRow("a point alone") << fromLatin1(".") << fromLatin1("ERR");
        QTest::newRow("decimal comma splits items") << fromLatin1("1,5") << fromLatin1("N[1]|N[5]");
    }
    void readerTakesItemsWhateverTheLines()
    {
        QFETCH(QString, text);
        QFETCH(QString, items);
        QCOMPARE(itemsOf(text), items);
    }

    void readerErrorsNameTheLine()
    {
        ArchiveReader reader(fromLatin1("1\r\n2\r\n\"x\",zz\r\n"));
        ArchiveItem item;
        while (reader.next(item)) {
        }
        QVERIFY(reader.failed());
        QCOMPARE(reader.line(), 3);
        QVERIFY2(reader.error().contains(QStringLiteral("riga 3")), qPrintable(reader.error()));
        QVERIFY(reader.error().contains(QStringLiteral("zz")));
    }

    void messagesQuoteOnlyPrintableExcerpts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        QTest::newRow("plain") << QStringLiteral("Forlì €") << QStringLiteral("Forlì €");
        QTest::newRow("NUL bytes")
            << QString::fromLatin1("a\0\0b", 4) << QStringLiteral("a\uFFFD\uFFFDb");
        QTest::newRow("terminal escape")
            << QStringLiteral("\x1B[2J\x07x") << QStringLiteral("\uFFFD[2J\uFFFDx");
        QTest::newRow("line ends and tabs")
            << QStringLiteral("a\r\nb\tc") << QStringLiteral("a\uFFFD\uFFFDb\uFFFDc");
        QTest::newRow("direction override")
            << QStringLiteral("abc\u202Efdp.exe") << QStringLiteral("abc\uFFFDfdp.exe");
        QTest::newRow("letters beyond 16 bits stay whole")
            << QStringLiteral("\U0001F600\U00020000") << QStringLiteral("\U0001F600\U00020000");
        QTest::newRow("lone surrogate")
            << QString(QChar(0xD800)) + QLatin1Char('x') << QStringLiteral("\uFFFDx");
        QTest::newRow("cut after 40 characters")
            << QString(100, QLatin1Char('x'))
            << QString(40, QLatin1Char('x')) + QStringLiteral("…");
        QTest::newRow("exactly 40")
            << QString(40, QLatin1Char('y')) << QString(40, QLatin1Char('y'));
    }
    void messagesQuoteOnlyPrintableExcerpts()
    {
        QFETCH(QString, text);
        QFETCH(QString, shown);
        QCOMPARE(printableExcerpt(text), shown);
        // File names are shown whole, but printable just the same.
        if (text.size() <= 40)
            QCOMPARE(archiveDisplayName(text), shown);
    }

    void emptyTextIsNotANeverSetValue()
    {
        ArchiveReader reader(fromLatin1("\"\","));
        ArchiveItem first;
        ArchiveItem second;
        QVERIFY(reader.next(first));
        QVERIFY(reader.next(second));
        QVERIFY(first.isText());
        QVERIFY(!first.text.isNull());
        QVERIFY(first.text.isEmpty());
        QVERIFY(second.isEmpty());
    }

    void writerFollowsTheRecordSyntax()
    {
        ArchiveWriter writer;
        writer.writeText(QStringLiteral("Nord, centro"));
        writer.writeOptionalText(QString());
        writer.writeOptionalText(QStringLiteral(""));
        writer.writeNumber(0.5);
        writer.writeField(FieldValue::fromNumber(100));
        writer.writeField(FieldValue::fromText(QStringLiteral("50")));
        writer.writeField(FieldValue());
        writer.endRecord();
        writer.writeInteger(3);
        writer.endRecord();
        QCOMPARE(writer.text(), fromLatin1("\"Nord, centro\",,\"\",0.5,100,\"50\",\r\n3\r\n"));
    }

    void doubleQuotesInTextsBecomeTypographicQuotes()
    {
        ArchiveWriter writer;
        writer.writeText(QStringLiteral("il \"centro\""));
        writer.writeText(QStringLiteral("\""));
        writer.writeText(QStringLiteral("dopo"));
        writer.endRecord();
        QCOMPARE(writer.text(),
                 QStringLiteral("\"il \u201Dcentro\u201D\",\"\u201D\",\"dopo\"\r\n"));
        // Even a quote followed by a comma can no longer end the text early.
        ArchiveWriter tricky;
        tricky.writeText(QStringLiteral("a\",b"));
        tricky.writeText(QStringLiteral("c"));
        QCOMPARE(itemsOf(tricky.text()), QStringLiteral("T[a\u201D,b]|T[c]"));
        // The typographic quote itself exists in Windows-1252 (0x94).
        QCOMPARE(tricky.bytes(), QByteArray("\"a\x94,b\",\"c\""));
    }

    void numbersReadBackToTheSameValue_data()
    {
        QTest::addColumn<double>("value");
        QTest::newRow("third") << 1.0 / 3.0;
        QTest::newRow("tolerance") << 0.0001;
        QTest::newRow("negative") << -58.181818181818187;
        QTest::newRow("tiny") << 1e-300;
        QTest::newRow("huge") << 1.7976931348623157e308;
        QTest::newRow("whole") << 150.0;
        QTest::newRow("denormal") << 4.9e-324;
    }
    void numbersReadBackToTheSameValue()
    {
        QFETCH(double, value);
        ArchiveWriter writer;
        writer.writeNumber(value);
        writer.writeSingle(static_cast<float>(value));
        ArchiveReader reader(writer.text());
        ArchiveItem asDouble;
        ArchiveItem asSingle;
        QVERIFY(reader.next(asDouble));
        QVERIFY(reader.next(asSingle));
        QCOMPARE(asDouble.number, value);
        // A value beyond single precision is infinite there, and written as nothing.
        if (std::isfinite(static_cast<float>(value)))
            QCOMPARE(static_cast<float>(asSingle.number), static_cast<float>(value));
        else
            QVERIFY(asSingle.isEmpty());
        QVERIFY(!writer.text().contains(QLatin1Char(',')) ||
                writer.text().count(QLatin1Char(',')) == 1);
    }

    void randomNumbersRoundTrip()
    {
        QRandomGenerator random(20240611);
        for (int i = 0; i < 20000; ++i) {
            quint64 bits = random.generate64();
            double value;
            std::memcpy(&value, &bits, sizeof value);
            if (!std::isfinite(value))
                continue;
            float single = static_cast<float>(random.generateDouble() * 1e6);
            ArchiveWriter writer;
            writer.writeNumber(value);
            writer.writeSingle(single);
            ArchiveReader reader(writer.text());
            ArchiveItem a;
            ArchiveItem b;
            QVERIFY(reader.next(a) && reader.next(b));
            QCOMPARE(a.number, value);
            QCOMPARE(static_cast<float>(b.number), single);
        }
    }

    void decodesUtf8WithOrWithoutMark_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("ascii") << QByteArray("\"Nord\"") << QStringLiteral("\"Nord\"");
        QTest::newRow("utf-8") << QByteArray("\"citt\xC3\xA0 \xE2\x82\xAC\"")
                               << QStringLiteral("\"città €\"");
        QTest::newRow("utf-8 with mark")
            << QByteArray("\xEF\xBB\xBF\"citt\xC3\xA0\"") << QStringLiteral("\"città\"");
        QTest::newRow("windows-1252")
            << QByteArray("\"citt\xE0 \x80\"") << QStringLiteral("\"città €\"");
        QTest::newRow("windows-1252 quotes and dashes")
            << QByteArray("\x93x\x94 \x96 \x85") << QStringLiteral("\u201Cx\u201D \u2013 \u2026");
        QTest::newRow("overlong utf-8 is not utf-8")
            << QByteArray("\xC0\xAF") << QStringLiteral("\u00C0\u00AF");
        QTest::newRow("encoded surrogate is not utf-8")
            << QByteArray("\xED\xA0\x80") << QStringLiteral("\u00ED\u00A0\u20AC");
        QTest::newRow("only the first mark is dropped")
            << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBF\xEF\xBB\xBFx")
            << QStringLiteral("\uFEFF\uFEFFx");
        QTest::newRow("cut utf-8 sequence") << QByteArray("a\xC3") << QStringLiteral("a\u00C3");
        // An editor's "Unicode": UTF-16 after its byte order mark, either way round.
        QTest::newRow("utf-16 little endian")
            << QByteArray("\xFF\xFE\"\0c\0i\0t\0t\0\xE0\0 \0\xAC\x20\"\0", 20)
            << QStringLiteral("\"città €\"");
        QTest::newRow("utf-16 big endian")
            << QByteArray("\xFE\xFF\0\"\x03\xB1\0\"", 8) << QStringLiteral("\"α\"");
        QTest::newRow("utf-16 with half a surrogate pair")
            << QByteArray("\xFF\xFEx\0\x3D\xD8y\0", 8) << QStringLiteral("x\uFFFDy");
    }
    void decodesUtf8WithOrWithoutMark()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(decodeArchiveBytes(bytes), text);
    }

    void everyWindows1252ByteReadsBack()
    {
        QByteArray all;
        for (int b = 1; b < 256; ++b)
            all.append(static_cast<char>(b));
        const QString text = decodeArchiveBytes(all);
        QCOMPARE(text.size(), 255);
        QCOMPARE(text[0x80 - 1], QChar(0x20AC));
        QCOMPARE(text[0x9F - 1], QChar(0x0178));
        QCOMPARE(text[0x81 - 1], QChar(0x0081));
        QCOMPARE(text[0xE8 - 1], QChar(0x00E8));
        QCOMPARE(encodeArchiveText(text), all);
    }

    void encodesWindows1252WhenEveryCharacterFits_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("ascii") << QStringLiteral("abc") << QByteArray("abc");
        QTest::newRow("accents and euro")
            << QStringLiteral("località € è") << QByteArray("localit\xE0 \x80 \xE8");
        QTest::newRow("greek needs utf-8")
            << QStringLiteral("α") << QByteArray("\xEF\xBB\xBF\xCE\xB1");
        QTest::newRow("C1 control without a Windows-1252 byte")
            << QStringLiteral("\u0080") << QByteArray("\xEF\xBB\xBF\xC2\x80");
        // "Ã©" in Windows-1252 is C3 A9, which is also UTF-8 for "é": it has to go out as UTF-8.
        QTest::newRow("bytes that would read as utf-8")
            << QStringLiteral("Ã©") << QByteArray("\xEF\xBB\xBF\xC3\x83\xC2\xA9");
        QTest::newRow("bytes that would read as a utf-16 mark")
            << QStringLiteral("ÿþ1")
            << QByteArray("\xEF\xBB\xBF\xC3\xBF\xC3\xBE"
                          "1");
    }
    void encodesWindows1252WhenEveryCharacterFits()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QCOMPARE(encodeArchiveText(text), bytes);
        QCOMPARE(decodeArchiveBytes(bytes), text);
    }

    void randomTextsSurviveEncoding()
    {
        QRandomGenerator random(7);
        const QString alphabet = QStringLiteral("aàèéìòù€\u201D\u201C–Ã©ß\u00A0,\"xα漢\u0081ÿþ");
        for (int i = 0; i < 5000; ++i) {
            QString text;
            const int length = int(random.bounded(12));
            for (int j = 0; j < length; ++j)
                text += alphabet[int(random.bounded(alphabet.size()))];
            QCOMPARE(decodeArchiveBytes(encodeArchiveText(text)), text);
        }
    }
};

QTEST_GUILESS_MAIN(TestArchiveFile)
#include "tst_archivefile.moc"

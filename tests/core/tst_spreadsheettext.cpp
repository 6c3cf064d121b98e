#include "spreadsheettext.h"

#include <QTest>

using namespace urbaflux;

class TestSpreadsheetText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void rowsAndCells_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<QStringList>>("rows");
        QTest::addColumn<bool>("block");
        using Rows = QList<QStringList>;
        QTest::newRow("nothing") << QString() << Rows{} << false;
        QTest::newRow("one cell") << QStringLiteral("12") << Rows{{QStringLiteral("12")}} << false;
        QTest::newRow("one cell and its line end")
            << QStringLiteral("12\r\n") << Rows{{QStringLiteral("12")}} << false;
        QTest::newRow("two cells") << QStringLiteral("12\t100")
                                   << Rows{{QStringLiteral("12"), QStringLiteral("100")}} << true;
        QTest::newRow("lines of every ending, blanks kept")
            << QStringLiteral("a\t 1 \r\nb\t2\rc\t3\n\n")
            << Rows{{QStringLiteral("a"), QStringLiteral(" 1 ")},
                    {QStringLiteral("b"), QStringLiteral("2")},
                    {QStringLiteral("c"), QStringLiteral("3")}}
            << true;
        QTest::newRow("an empty line inside stays")
            << QStringLiteral("1\n\n3\n")
            << Rows{{QStringLiteral("1")}, {QString()}, {QStringLiteral("3")}} << true;
        QTest::newRow("empty cells")
            << QStringLiteral("\t\t") << Rows{{QString(), QString(), QString()}} << true;
    }
    void rowsAndCells()
    {
        QFETCH(QString, text);
        QFETCH(QList<QStringList>, rows);
        QFETCH(bool, block);
        QCOMPARE(spreadsheetRows(text), rows);
        QCOMPARE(isSpreadsheetBlock(text), block);
    }
};

QTEST_APPLESS_MAIN(TestSpreadsheetText)
#include "tst_spreadsheettext.moc"

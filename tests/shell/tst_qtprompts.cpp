#include "qtprompts.h"

#include <QTest>

using namespace urbaflux;

class TestQtPrompts : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void nameFilters_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("program's distance filter")
            << QStringLiteral("Tutti i file (*.*)|*.*|File Urbaflux-dis- | Urbaflux-dis-*")
            << QStringList{QStringLiteral("Tutti i file (*)"),
                           QStringLiteral("File Urbaflux-dis- (Urbaflux-dis-*)")};
        QTest::newRow("several patterns") << QStringLiteral("Immagini|*.jpg;*.bmp")
                                          << QStringList{QStringLiteral("Immagini (*.jpg *.bmp)")};
        QTest::newRow("empty description")
            << QStringLiteral("|*.txt") << QStringList{QStringLiteral("*.txt (*.txt)")};
        QTest::newRow("odd trailing description dropped")
            << QStringLiteral("Testo|*.txt|Resto") << QStringList{QStringLiteral("Testo (*.txt)")};
        QTest::newRow("empty") << QString() << QStringList{};
    }
    void nameFilters()
    {
        QFETCH(QString, filter);
        QFETCH(QStringList, expected);
        QCOMPARE(QtPrompts::nameFilters(filter), expected);
    }

    void displayText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("carriage returns") << QStringLiteral("a\rb\rc") << QStringLiteral("a\nb\nc");
        QTest::newRow("crlf") << QStringLiteral("a\r\nb") << QStringLiteral("a\nb");
        QTest::newRow("plain") << QStringLiteral("a b") << QStringLiteral("a b");
    }
    void displayText()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(QtPrompts::displayText(text), expected);
    }
};

QTEST_MAIN(TestQtPrompts)
#include "tst_qtprompts.moc"

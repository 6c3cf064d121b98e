// Qt's own dialog texts come in Italian once the translations are installed.

#include "qttranslations.h"

#include <QCoreApplication>
#include <QTest>

using namespace urbaflux;

namespace {

struct QtText
{
    const char* context;
    const char* english;
    QString italian;
};

QString shown(const QtText& text)
{
    return QCoreApplication::translate(text.context, text.english);
}

} // namespace

class TestQtTranslations : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void qtTextsAreItalian()
    {
        const QtText texts[] = {
            {"QPlatformTheme", "Cancel", QStringLiteral("Annulla")}, // file dialog button
            {"QLineEdit", "&Paste", QStringLiteral("&Incolla")},     // a text box's menu
            {"QFileDialog", "All Files (*)", QStringLiteral("Tutti i file (*)")},
        };
        for (const QtText& text : texts)
            QCOMPARE(shown(text), QString::fromLatin1(text.english));
        QVERIFY(installItalianQtTexts(*QCoreApplication::instance()));
        for (const QtText& text : texts)
            QCOMPARE(shown(text), text.italian);
    }
};

QTEST_MAIN(TestQtTranslations)
#include "tst_qttranslations.moc"

#include "numbertext.h"

#include <QRandomGenerator>
#include <QTest>
#include <cstring>

using namespace urbaflux;

class TestNumberText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void leadingNumberReadsTheStart_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("expected");
        QTest::newRow("plain") << QStringLiteral("12") << 12.0;
        QTest::newRow("comma is not a decimal point") << QStringLiteral("1,5") << 1.0;
        QTest::newRow("blanks, sign, exponent, tail")
            << QStringLiteral(" \t-2.5e2 metri") << -250.0;
        QTest::newRow("no leading zero") << QStringLiteral(".5") << 0.5;
        QTest::newRow("negative without zero") << QStringLiteral("-.5") << -0.5;
        QTest::newRow("old D exponent") << QStringLiteral("1D-04") << 0.0001;
        QTest::newRow("exponent without digits") << QStringLiteral("3e") << 3.0;
        QTest::newRow("plus sign") << QStringLiteral("+3") << 3.0;
        QTest::newRow("letters") << QStringLiteral("abc") << 0.0;
        QTest::newRow("empty") << QString() << 0.0;
        QTest::newRow("point alone") << QStringLiteral(".") << 0.0;
        QTest::newRow("sign alone") << QStringLiteral("-") << 0.0;
    }
    void leadingNumberReadsTheStart()
    {
        QFETCH(QString, text);
        QFETCH(double, expected);
        QCOMPARE(leadingNumber(text), expected);
    }

    void strictNumberNeedsTheWholeText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("error");
        QTest::newRow("blanks around") << QStringLiteral(" 10 ") << true << 10.0 << 0;
        QTest::newRow("exponent") << QStringLiteral("1E-04") << true << 0.0001 << 0;
        QTest::newRow("tail") << QStringLiteral("10a") << false << 0.0
                              << int(NumberError::NotANumber);
        QTest::newRow("comma") << QStringLiteral("1,5") << false << 0.0
                               << int(NumberError::NotANumber);
        QTest::newRow("empty") << QString() << false << 0.0 << int(NumberError::Empty);
        QTest::newRow("blanks only")
            << QStringLiteral("   ") << false << 0.0 << int(NumberError::Empty);
        QTest::newRow("point alone")
            << QStringLiteral(".") << false << 0.0 << int(NumberError::NotANumber);
        // Whatever the spelling, what a double cannot hold is refused in one way.
        for (const char* text : {"1e400", "-1E400", "Inf", "-inf", "+Infinity", "NaN", " nan "})
            QTest::newRow(text) << QString::fromLatin1(text) << false << 0.0
                                << int(NumberError::NotFinite);
        QTest::newRow("largest double")
            << QStringLiteral("1.7976931348623157e308") << true << 1.7976931348623157e308 << 0;
        QTest::newRow("too small is 0") << QStringLiteral("1e-400") << true << 0.0 << 0;
        QTest::newRow("infinite is a word")
            << QStringLiteral("infinite") << false << 0.0 << int(NumberError::NotANumber);
    }
    void strictNumberNeedsTheWholeText()
    {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        QFETCH(double, value);
        QFETCH(int, error);
        NumberError got = NumberError::None;
        const auto result = parseStrictNumber(text, &got);
        QCOMPARE(result.has_value(), ok);
        if (ok)
            QCOMPARE(*result, value);
        QCOMPARE(int(got), error);
    }

    void shortestTextForms_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<bool>("single");
        QTest::addColumn<QString>("expected");
        QTest::newRow("whole") << 2.0 << false << QStringLiteral("2");
        QTest::newRow("tenth") << 0.1 << false << QStringLiteral("0.1");
        QTest::newRow("tolerance") << 0.0001 << false << QStringLiteral("0.0001");
        QTest::newRow("large whole") << 32400.0 << false << QStringLiteral("32400");
        QTest::newRow("huge") << 1e20 << false << QStringLiteral("1E+20");
        QTest::newRow("tiny") << 1.5e-7 << false << QStringLiteral("1.5E-07");
        QTest::newRow("negative") << -12.25 << false << QStringLiteral("-12.25");
        QTest::newRow("single factor") << double(0.969697f) << true << QStringLiteral("0.969697");
        QTest::newRow("single third")
            << double(1.0f / 3.0f) << true << QStringLiteral("0.33333334");
        QTest::newRow("single whole") << 58.0 << true << QStringLiteral("58");
        QTest::newRow("double third") << 1.0 / 3.0 << false << QStringLiteral("0.3333333333333333");
    }
    void shortestTextForms()
    {
        QFETCH(double, value);
        QFETCH(bool, single);
        QFETCH(QString, expected);
        QCOMPARE(single ? shortestText(static_cast<float>(value)) : shortestText(value), expected);
    }

    // Archives write numbers with shortestText and read them with leadingNumber: every value must
    // come back with the same bits.
    void shortestTextRoundTrips()
    {
        QRandomGenerator random(20261208);
        for (int i = 0; i < 20000; ++i) {
            quint64 bits = random.generate64();
            double value;
            std::memcpy(&value, &bits, sizeof value);
            if (!std::isfinite(value))
                continue;
            const double back = leadingNumber(shortestText(value));
            QVERIFY2(std::memcmp(&back, &value, sizeof value) == 0 || (value == 0 && back == 0),
                     qPrintable(shortestText(value)));
            const quint32 fbits = random.generate();
            float single;
            std::memcpy(&single, &fbits, sizeof single);
            if (!std::isfinite(single))
                continue;
            const float fback = static_cast<float>(leadingNumber(shortestText(single)));
            QVERIFY2(fback == single || (single == 0 && fback == 0),
                     qPrintable(shortestText(single)));
        }
    }

    void numberTextHasALeadingBlank_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("seven") << 7.0 << QStringLiteral(" 7");
        QTest::newRow("zero") << 0.0 << QStringLiteral(" 0");
        QTest::newRow("negative") << -3.0 << QStringLiteral("-3");
        QTest::newRow("fraction") << 12.5 << QStringLiteral(" 12.5");
        // Sums of typed values: what binary arithmetic adds beyond 15 digits is not shown.
        QTest::newRow("sum of tenths") << (0.1 + 0.2) << QStringLiteral(" 0.3");
        QTest::newRow("fifteen digits stay")
            << 123456789.012345 << QStringLiteral(" 123456789.012345");
        QTest::newRow("large") << 1.5e15 << QStringLiteral(" 1.5E+15");
    }
    void numberTextHasALeadingBlank()
    {
        QFETCH(double, value);
        QFETCH(QString, expected);
        QCOMPARE(numberText(value), expected);
        if (value == std::floor(value) && std::fabs(value) < 1e9)
            QCOMPARE(numberText(static_cast<int>(value)), expected);
    }
};

QTEST_GUILESS_MAIN(TestNumberText)
#include "tst_numbertext.moc"

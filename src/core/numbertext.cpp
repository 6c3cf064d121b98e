#include "numbertext.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>

namespace urbaflux {

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}
bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Scans the number at position pos of text. Returns the number of characters it takes (0 when
// there is no number there) and writes its plain ASCII form, with "e" for the exponent, to out.
qsizetype scanNumber(QStringView text, qsizetype pos, std::string& out)
{
    out.clear();
    qsizetype i = pos;
    const qsizetype n = text.size();
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        if (text[i] == u'-')
            out.push_back('-');
        ++i;
    }
    qsizetype digits = 0;
    while (i < n && isDigit(text[i])) {
        out.push_back(static_cast<char>(text[i].unicode()));
        ++i;
        ++digits;
    }
    if (i < n && text[i] == u'.') {
        out.push_back('.');
        ++i;
        while (i < n && isDigit(text[i])) {
            out.push_back(static_cast<char>(text[i].unicode()));
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return 0;
    if (i < n) {
        const char16_t e = text[i].unicode();
        if (e == u'e' || e == u'E' || e == u'd' || e == u'D') {
            qsizetype j = i + 1;
            std::string exponent = "e";
            if (j < n && (text[j] == u'+' || text[j] == u'-')) {
                exponent.push_back(static_cast<char>(text[j].unicode()));
                ++j;
            }
            qsizetype expDigits = 0;
            while (j < n && isDigit(text[j])) {
                exponent.push_back(static_cast<char>(text[j].unicode()));
                ++j;
                ++expDigits;
            }
            // "1E" or "1E+" keeps only the mantissa, as an old reader did.
            if (expDigits > 0) {
                out += exponent;
                i = j;
            }
        }
    }
    return i - pos;
}

// "Inf", "-infinity", "NaN", "+nan" in any case: what C libraries and our own writer once
// wrote for values that are no number.
bool isNonFiniteWord(QStringView text)
{
    if (!text.isEmpty() && (text.front() == u'+' || text.front() == u'-'))
        text = text.sliced(1);
    return text.compare(u"inf", Qt::CaseInsensitive) == 0 ||
           text.compare(u"infinity", Qt::CaseInsensitive) == 0 ||
           text.compare(u"nan", Qt::CaseInsensitive) == 0;
}

double toDouble(const std::string& ascii)
{
    // strtod is locale dependent for its decimal point; from_chars is not.
    double value = 0.0;
    const char* first = ascii.data();
    const char* last = first + ascii.size();
    if (*first == '-')
        ++first;
    // The scanner only produces forms from_chars accepts; a "." alone was rejected earlier.
    auto result = std::from_chars(first, last, value, std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        // from_chars leaves the value alone on overflow and underflow: tell them apart by
        // the exponent's sign.
        value = ascii.find("e-") != std::string::npos ? 0.0 : HUGE_VAL;
    }
    return ascii.front() == '-' ? -value : value;
}

QString formatShortest(const char* first, const char* last)
{
    // first..last is the shortest scientific form "d[.ddd]e[+-]xx" from to_chars.
    std::string s(first, last);
    bool negative = false;
    if (!s.empty() && s.front() == '-') {
        negative = true;
        s.erase(0, 1);
    }
    const auto ePos = s.find('e');
    std::string mantissa = s.substr(0, ePos);
    const int exponent = std::atoi(s.c_str() + ePos + 1);
    std::string digits;
    for (char c : mantissa)
        if (c != '.')
            digits.push_back(c);
    // Built by appending only: GCC 12 at -O3 sees a false overlap (-Wrestrict) in the
    // operator+ and insert forms of the same concatenation.
    std::string result;
    result.reserve(digits.size() + 24);
    if (negative)
        result.push_back('-');
    if (exponent >= -5 && exponent < 15) {
        const int pointAt = exponent + 1; // digits before the decimal point
        if (pointAt <= 0) {
            result.append("0.");
            result.append(static_cast<size_t>(-pointAt), '0');
            result.append(digits);
        } else if (static_cast<size_t>(pointAt) >= digits.size()) {
            result.append(digits);
            result.append(static_cast<size_t>(pointAt) - digits.size(), '0');
        } else {
            result.append(digits, 0, static_cast<size_t>(pointAt));
            result.push_back('.');
            result.append(digits, static_cast<size_t>(pointAt));
        }
    } else {
        result.push_back(digits.front());
        if (digits.size() > 1) {
            result.push_back('.');
            result.append(digits, 1);
        }
        result.append(exponent < 0 ? "E-" : "E+");
        const int magnitude = exponent < 0 ? -exponent : exponent;
        if (magnitude < 10)
            result.push_back('0');
        result.append(std::to_string(magnitude));
    }
    return QString::fromLatin1(result.data(), static_cast<qsizetype>(result.size()));
}

template <typename T> QString shortestOf(T value)
{
    if (std::isnan(value))
        return QStringLiteral("NaN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-Inf") : QStringLiteral("Inf");
    if (value == 0)
        return QStringLiteral("0");
    char buffer[64];
    auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
    return formatShortest(buffer, result.ptr);
}

} // namespace

double leadingNumber(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    std::string ascii;
    if (scanNumber(text, i, ascii) == 0)
        return 0.0;
    return toDouble(ascii);
}

std::optional<double> parseStrictNumber(QStringView text, NumberError* error)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    if (begin == end) {
        if (error)
            *error = NumberError::Empty;
        return std::nullopt;
    }
    std::string ascii;
    const qsizetype taken = scanNumber(text, begin, ascii);
    if (taken == 0 || begin + taken != end) {
        if (error)
            *error = isNonFiniteWord(text.sliced(begin, end - begin)) ? NumberError::NotFinite
                                                                      : NumberError::NotANumber;
        return std::nullopt;
    }
    const double value = toDouble(ascii);
    if (!std::isfinite(value)) {
        if (error)
            *error = NumberError::NotFinite;
        return std::nullopt;
    }
    if (error)
        *error = NumberError::None;
    return value;
}

QString shortestText(double value)
{
    return shortestOf(value);
}
QString shortestText(float value)
{
    return shortestOf(value);
}

QString displayedText(double value)
{
    if (!std::isfinite(value))
        return shortestText(value);
    return shortestText(QString::number(value, 'g', 15).toDouble());
}

QString numberText(double value)
{
    const QString text = displayedText(value);
    return value < 0 ? text : QLatin1Char(' ') + text;
}

QString numberText(long long value)
{
    const QString text = QString::number(value);
    return value < 0 ? text : QLatin1Char(' ') + text;
}

} // namespace urbaflux

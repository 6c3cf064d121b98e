#pragma once

// Reading and writing numbers as the program's texts. Every typed value is kept as text; these
// functions are the only places that turn such a text into a number or a number into a text.
//
// - leadingNumber: the lenient reading used by totals and hints (never fails).
// - parseStrictNumber: the whole-text reading the calculation needs (fails on anything else).
// - shortestText: the shortest decimal text that reads back to the same double or float.
// - numberText: the form of row and pair numbers in labels, hints and printouts: one leading
//   blank before a number that is not negative.

#include <QString>
#include <QStringView>
#include <optional>

namespace urbaflux {

// The number at the start of the text: leading blanks and tabs skipped, an optional sign,
// digits with "." as the decimal point, an optional exponent introduced by E or D (either
// case, as old archives write it). 0 when the text does not start with a number; a comma ends
// the number ("1,5" reads as 1).
double leadingNumber(QStringView text);

// Why a text is not a number for the calculation.
enum class NumberError
{
    None,
    Empty,
    NotANumber,
    NotFinite // "1e400", "Inf", "nan" and the like: no number the calculation can hold
};

// The text read as a whole number in the same grammar as leadingNumber, blanks allowed around
// it. An empty (or all-blank) text gives Empty. A number beyond the range of a double, and the
// spellings of infinity and not-a-number in any case ("Inf", "-inf", "Infinity", "NaN"), give
// NotFinite, so that every value the calculation could not hold is refused in one way whatever
// its spelling. Anything else that is not wholly a number gives NotANumber. A number too small
// for a double reads as 0.
std::optional<double> parseStrictNumber(QStringView text, NumberError* error = nullptr);

// Shortest decimal text that reads back to exactly the same value: plain decimal for
// magnitudes from 1E-5 up to 1E15, "1.5E+20" form outside; "." as the decimal point, a leading
// zero before it ("0.5"), no trailing zeros ("2", not "2.0").
QString shortestText(double value);
QString shortestText(float value);

// A computed number as the user reads it: kept to 15 significant digits, then the shortest
// text of what is kept, so that a sum such as 0.1 + 0.2 shows "0.3" rather than the last bits
// of binary arithmetic. Not for archives, which need the value back exactly.
QString displayedText(double value);

// The number-to-text form: a blank before a number that is not negative (" 7", "-3", " 12.5").
// Doubles are written as displayedText writes them.
QString numberText(double value);
QString numberText(long long value);
inline QString numberText(int value)
{
    return numberText(static_cast<long long>(value));
}

} // namespace urbaflux

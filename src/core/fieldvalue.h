#pragma once

#include "numbertext.h"

#include <QString>

namespace urbaflux {

// A field that holds a number while it keeps a default (alpha 2, tolerance 0.0001, weight 100)
// and the exact text once the user types it. The archives write the first bare and the second
// quoted, so the distinction has to survive until a file is written.
struct FieldValue
{
    enum class Kind : quint8
    {
        Unset,
        Number,
        Text
    };

    Kind kind = Kind::Unset;
    double number = 0.0;
    QString text;

    static FieldValue fromNumber(double value) { return {Kind::Number, value, QString()}; }
    static FieldValue fromText(const QString& value) { return {Kind::Text, 0.0, value}; }

    bool isUnset() const { return kind == Kind::Unset; }
    bool isNumber() const { return kind == Kind::Number; }
    bool isText() const { return kind == Kind::Text; }

    // What validations call empty: never set, or an empty text. A number is never empty.
    bool isEmpty() const { return kind == Kind::Unset || (kind == Kind::Text && text.isEmpty()); }

    // The text a box or a printout shows.
    QString displayText() const { return kind == Kind::Number ? shortestText(number) : text; }

    // The lenient numeric reading (leadingNumber of a text, the number itself otherwise).
    double leadingValue() const
    {
        return kind == Kind::Number ? number : kind == Kind::Text ? leadingNumber(text) : 0.0;
    }

    friend bool operator==(const FieldValue& a, const FieldValue& b)
    {
        if (a.kind != b.kind)
            return false;
        if (a.kind == Kind::Number)
            return a.number == b.number;
        return a.kind == Kind::Unset || a.text == b.text;
    }
};

} // namespace urbaflux

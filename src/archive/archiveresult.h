#pragma once

// What the archive readers and writers hand back. A reader either gives a complete, validated
// value or an Italian sentence that names the file and says what is wrong; nothing is applied
// to the elaboration until the caller has a value in hand. A writer says whether the file was
// replaced; when it was not, the previous file is still there, untouched.

#include <QString>
#include <optional>
#include <utility>

namespace urbaflux {

template <typename T> struct Parsed
{
    std::optional<T> value;
    QString error; // empty when value holds

    bool ok() const { return value.has_value(); }

    static Parsed success(T v)
    {
        Parsed p;
        p.value = std::move(v);
        return p;
    }
    static Parsed failure(QString message)
    {
        Parsed p;
        p.error = std::move(message);
        return p;
    }
};

struct SaveResult
{
    bool ok = false;
    QString error; // Italian, names the file; empty when ok
};

} // namespace urbaflux

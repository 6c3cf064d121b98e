#include "inputvalue.h"

#include "projectstate.h"

#include <cmath>

namespace urbaflux {

std::optional<double> readInputValue(QStringView text, ValueProblem* problem)
{
    auto refuse = [problem](ValueProblem why) -> std::optional<double> {
        if (problem)
            *problem = why;
        return std::nullopt;
    };
    NumberError error = NumberError::None;
    const std::optional<double> value = parseStrictNumber(text, &error);
    if (!value) {
        if (error == NumberError::Empty)
            return refuse(ValueProblem::Empty);
        if (error == NumberError::NotFinite)
            return refuse(ValueProblem::NotFinite);
        // One comma where the point would make a number: the regional habit, named as such
        // rather than read as the number before the comma.
        if (text.count(u',') == 1) {
            QString pointed = text.toString();
            pointed.replace(QLatin1Char(','), QLatin1Char('.'));
            if (parseStrictNumber(pointed))
                return refuse(ValueProblem::DecimalComma);
        }
        return refuse(ValueProblem::NotANumber);
    }
    if (*value < 0)
        return refuse(ValueProblem::Negative);
    if (problem)
        *problem = ValueProblem::None;
    return value;
}

std::optional<double> readInputValue(const FieldValue& field, ValueProblem* problem)
{
    if (field.isNumber()) {
        if (!std::isfinite(field.number) || field.number < 0) {
            if (problem)
                *problem =
                    std::isfinite(field.number) ? ValueProblem::Negative : ValueProblem::NotFinite;
            return std::nullopt;
        }
        if (problem)
            *problem = ValueProblem::None;
        return field.number;
    }
    return readInputValue(field.isText() ? QStringView(field.text) : QStringView(), problem);
}

QString valueProblemText(ValueProblem problem)
{
    switch (problem) {
    case ValueProblem::Empty:
        return QStringLiteral("non è stato immesso");
    case ValueProblem::NotANumber:
        return QStringLiteral("non è un numero (usare il punto per i decimali)");
    case ValueProblem::DecimalComma:
        return QStringLiteral("è scritto con la virgola: usare il punto per i decimali");
    case ValueProblem::Negative:
        return QStringLiteral("è negativo");
    case ValueProblem::NotFinite:
        return QStringLiteral("non è un numero entro i limiti del calcolo");
    case ValueProblem::None:
        break;
    }
    return QString();
}

AreaValueIssue firstAreaValueIssue(const AreaTable& areas, int count)
{
    const int n = qBound(0, count, kMaxAreas);
    for (int i = 1; i <= n; ++i) {
        const auto at = static_cast<size_t>(i);
        ValueProblem problem = ValueProblem::None;
        if (!readInputValue(areas.origin[at], &problem) && problem != ValueProblem::Empty)
            return {i, false, problem};
        if (!readInputValue(areas.destination[at], &problem) && problem != ValueProblem::Empty)
            return {i, true, problem};
    }
    return {};
}

} // namespace urbaflux

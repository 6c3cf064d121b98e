#pragma once

// The one rule by which a typed distance, weight, origin or destination is a value the
// calculation may use: the whole text a number, "." for its decimal point, not below 0. The
// calculation, the hints and the "Avanti" checks all ask here, so that what a check lets
// through is what the calculation takes, and the value is never read in part. The archives
// keep their lenient reading (leadingNumber) for what old files hold.

#include "fieldvalue.h"

#include <QString>
#include <QStringView>
#include <optional>

namespace urbaflux {

struct AreaTable;

enum class ValueProblem
{
    None,
    Empty,        // not entered
    NotANumber,   // "abc", "10 km", "1.5.2"
    DecimalComma, // "1,5": a number, but with the comma of the regional settings
    Negative,     // "-2"
    NotFinite     // "1e400", "Inf", "NaN"
};

// The value of a typed text, or nullopt with the problem.
std::optional<double> readInputValue(QStringView text, ValueProblem* problem = nullptr);
// The same for a field that may hold its default number (a weight of 100).
std::optional<double> readInputValue(const FieldValue& field, ValueProblem* problem = nullptr);

// What is wrong with a value, as the end of a sentence that names it ("il valore della
// distanza n. 3 " + this): "è negativo", "è scritto con la virgola: usare il punto per i
// decimali"... Empty for None.
QString valueProblemText(ValueProblem problem);

// The first area among 1 to count with an origin or destination typed that the calculation
// could not take, origin before destination; area 0 when every typed value is good. Values not
// entered yet are not counted here: the checks ask for them in their own words.
struct AreaValueIssue
{
    int area = 0;
    bool destination = false;
    ValueProblem problem = ValueProblem::None;
};
AreaValueIssue firstAreaValueIssue(const AreaTable& areas, int count);

} // namespace urbaflux

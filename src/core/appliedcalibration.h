#pragma once

// Observed interactions, the criteria of a calibration of alpha, and the record of a
// calibration written into alpha, which the project state keeps for the report.

#include <QString>
#include <cstdint>
#include <vector>

namespace urbaflux {

struct ObservedInteractions
{
    int count = 0;                     // N of the archive the file was read for
    std::vector<double> value;         // by pair number, 1 to N * N
    std::vector<std::uint8_t> present; // 1 where the survey gives the pair a value
    int pairs = 0;                     // pairs with a value
};

enum class CalibrationCriterion
{
    // Poisson maximum likelihood: for the power decay, the alpha at which the calculated mean of
    // ln(distance x weight / 100) equals the observed one.
    MaximumLikelihood,
    // The least sum of absolute errors.
    LeastAbsoluteErrors,
};

struct AppliedCalibration
{
    QString source; // the observed data as the user knows them: a file name, or a paste
    CalibrationCriterion criterion = CalibrationCriterion::MaximumLikelihood;
    QString alphaText; // what was written into alpha
    ObservedInteractions observed;
};

} // namespace urbaflux

#pragma once

// How a run of the calculation ended. Kept apart from the calculation so that the project state
// can hold the outcome of its last run beside the results it produced.

namespace urbaflux {

struct CalculationOutcome
{
    enum class Status
    {
        Completed,
        Stopped,
        NotConverged
    };
    enum class Reason
    {
        None,
        Empty,           // a value not entered
        NotANumber,      // a text that is not a number
        DecimalComma,    // a number written with a comma for its decimal point
        Negative,        // a distance, weight, origin or destination below 0
        NotFinite,       // a value beyond the range of a double, infinite or not a number
        Zero,            // a distance or weight of 0
        InvalidPower,    // a negative distance or weight with a fractional alpha
        ZeroSum,         // a balancing sum of 0 (for instance every destination 0)
        Overflow,        // a value too large for its precision
        TooManyAreas,    // a count outside 0 to 180
        ProductTooLarge, // distance times weight of a pair beyond the range of a double
        ProductTooSmall, // distance times weight of a pair too small to be told from 0
        DecayTooLarge,   // (distance * weight / 100) ^ -alpha of a pair beyond the range
        DecayTooSmall,   // the same too small for the sums it enters, so that they vanish
    };
    enum class Subject
    {
        None,
        Alpha,
        Distance,
        Weight,
        Origin,
        Destination,
        OriginSum,
        DestinationSum,
        Interaction
    };

    Status status = Status::Completed;
    Reason reason = Reason::None;
    Subject subject = Subject::None;
    int pair = 0;       // the pair concerned (distance, weight, interaction), else 0
    int area = 0;       // the area concerned (origin, destination, sums), else 0
    int passes = 0;     // passes of the balancing iteration that ran
    double alpha = 0.0; // the exponent, for the decay factor reasons

    bool completed() const { return status == Status::Completed; }
};

} // namespace urbaflux

#pragma once

// The eight texts of the title page, held in the project state so that closing the title-page
// window loses none of them. The title-page archive and the last two records of the complete
// archive carry them in this order; the technical office is a program setting and is never
// archived.

#include <QString>
#include <array>

namespace urbaflux {

struct TitlePage
{
    static constexpr int kFieldCount = 8;

    QString progetto;
    QString localita; // the box "località"
    QString tipostudio;
    QString fornituradati;
    QString committente;
    QString luogo;
    QString data;
    QString allegati;

    // The fields in archive order: progetto, località, tipostudio, fornituradati, committente,
    // luogo, data, allegati.
    std::array<QString*, kFieldCount> fields()
    {
        return {&progetto,    &localita, &tipostudio, &fornituradati,
                &committente, &luogo,    &data,       &allegati};
    }
    std::array<const QString*, kFieldCount> fields() const
    {
        return {&progetto,    &localita, &tipostudio, &fornituradati,
                &committente, &luogo,    &data,       &allegati};
    }

    friend bool operator==(const TitlePage&, const TitlePage&) = default;
};

} // namespace urbaflux

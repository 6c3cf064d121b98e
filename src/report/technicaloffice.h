#pragma once

// The technical office that signs every report: a setting of the program, not of the
// elaboration (no archive holds it). The title-page window shows it and edits it; the report
// and the batch calculator read it. Both programs read the same settings file.

#include <QString>

namespace urbaflux {

struct TechnicalOffice
{
    QString name;
    QString address;

    friend bool operator==(const TechnicalOffice&, const TechnicalOffice&) = default;
};

// Settings keys "studio/nome" and "studio/indirizzo"; empty texts when never saved.
TechnicalOffice loadTechnicalOffice();
void saveTechnicalOffice(const TechnicalOffice& office);

} // namespace urbaflux

#pragma once

// The technical office that produces the studies: a setting of the user, kept with QSettings
// under the program's organisation and name, shown on the title page and printed in the report.
// It belongs to no elaboration and is never archived.

#include <QString>

namespace urbaflux {

struct TechnicalOffice
{
    QString name;
    QString address;

    friend bool operator==(const TechnicalOffice&, const TechnicalOffice&) = default;
};

// Keys "studio/nome" and "studio/indirizzo"; empty texts while nothing was ever set.
TechnicalOffice loadTechnicalOffice();
void saveTechnicalOffice(const TechnicalOffice& office);

} // namespace urbaflux

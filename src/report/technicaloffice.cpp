#include "technicaloffice.h"

#include <QSettings>

namespace urbaflux {

namespace {

// Named here rather than taken from the running application, so that urbaflux-calc reads what
// the program saved.
const QString kOrganisation = QStringLiteral("Urbaflux");
const QString kApplication = QStringLiteral("Urbaflux");
const QString kNameKey = QStringLiteral("studio/nome");
const QString kAddressKey = QStringLiteral("studio/indirizzo");

} // namespace

TechnicalOffice loadTechnicalOffice()
{
    const QSettings stored(kOrganisation, kApplication);
    return {stored.value(kNameKey).toString(), stored.value(kAddressKey).toString()};
}

void saveTechnicalOffice(const TechnicalOffice& office)
{
    QSettings stored(kOrganisation, kApplication);
    stored.setValue(kNameKey, office.name);
    stored.setValue(kAddressKey, office.address);
    stored.sync();
}

} // namespace urbaflux

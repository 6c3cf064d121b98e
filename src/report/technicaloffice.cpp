#include "technicaloffice.h"

#include <QCoreApplication>
#include <QSettings>

namespace urbaflux {

namespace {

// The program sets its name but no organisation; the settings then go under the name for both,
// rather than under Qt's "Unknown Organization".
QSettings officeSettings()
{
    const QString application = QCoreApplication::applicationName().isEmpty()
                                    ? QStringLiteral("Urbaflux")
                                    : QCoreApplication::applicationName();
    const QString organisation = QCoreApplication::organizationName().isEmpty()
                                     ? application
                                     : QCoreApplication::organizationName();
    return QSettings(organisation, application);
}

} // namespace

TechnicalOffice loadTechnicalOffice()
{
    const QSettings settings = officeSettings();
    return {settings.value(QStringLiteral("studio/nome")).toString(),
            settings.value(QStringLiteral("studio/indirizzo")).toString()};
}

void saveTechnicalOffice(const TechnicalOffice& office)
{
    QSettings settings = officeSettings();
    settings.setValue(QStringLiteral("studio/nome"), office.name);
    settings.setValue(QStringLiteral("studio/indirizzo"), office.address);
    settings.sync();
}

} // namespace urbaflux

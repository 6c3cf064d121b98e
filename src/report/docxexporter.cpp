#include "docxexporter.h"

#include <QIODevice>

namespace urbaflux {

bool writeDocx(const Document&, QIODevice*, QString* error)
{
    if (error)
        *error = QStringLiteral("non ancora disponibile");
    return false;
}

SaveResult saveDocx(const Document&, const QString& path)
{
    return {false, QStringLiteral("Impossibile salvare il documento \"%1\".").arg(path)};
}

} // namespace urbaflux

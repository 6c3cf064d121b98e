#include "gdalsupport.h"

#include <QFile>
#include <QFileInfo>

#include <gdal.h>
#include <mutex>

namespace urbaflux {

void ensureGdalRegistered()
{
    static std::once_flag once;
    std::call_once(once, [] { GDALAllRegister(); });
}

GdalErrorCapture::GdalErrorCapture()
{
    CPLPushErrorHandler(CPLQuietErrorHandler);
    CPLErrorReset();
}

GdalErrorCapture::~GdalErrorCapture()
{
    CPLPopErrorHandler();
}

QString GdalErrorCapture::lastMessage() const
{
    return QString::fromUtf8(CPLGetLastErrorMsg()).trimmed();
}

QString quotedFileName(const QString& path)
{
    return QStringLiteral("\"%1\"").arg(QFileInfo(path).fileName());
}

QByteArray gdalPath(const QString& path)
{
    const QByteArray encoded = QFile::encodeName(path);
    if (path.endsWith(QStringLiteral(".zip"), Qt::CaseInsensitive) && !path.startsWith(u"/vsi"))
        return QByteArrayLiteral("/vsizip/") + encoded;
    return encoded;
}

} // namespace urbaflux

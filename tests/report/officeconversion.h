#pragma once

// What the tests that compare the program's pages with LibreOffice's share: the pages of a PDF,
// the text of each page, and LibreOffice converting documents to PDF with a chosen face
// standing in for "Century Gothic".

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

namespace urbaflux::office {

inline int pdfPageCount(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?![s\\w])"));
    return static_cast<int>(QString::fromLatin1(file.readAll()).count(page));
}

// The text of each page, laid out, or nothing without pdftotext.
inline QStringList pageTexts(const QString& pdf)
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        return {};
    QProcess process;
    process.start(QStringLiteral("pdftotext"),
                  {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    if (!process.waitForFinished(600000))
        return {};
    QStringList pages = QString::fromUtf8(process.readAllStandardOutput()).split(QChar(12));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

// The fonts a PDF embeds, as pdffonts names them ("ABCDEF+DejaVuSans"), or nothing without it.
inline QString pdfFonts(const QString& pdf)
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdffonts")).isEmpty())
        return {};
    QProcess process;
    process.start(QStringLiteral("pdffonts"), {pdf});
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

// What draws "Century Gothic" in a conversion.
enum class StandIn
{
    Alias,          // URW Gothic, through the alias the package installs
    DejaVuSans,     // a system without the alias, as most have
    LiberationSans, // a system whose fallback is Liberation Sans
};

inline QString standInFace(StandIn standIn)
{
    switch (standIn) {
    case StandIn::DejaVuSans:
        return QStringLiteral("DejaVu Sans");
    case StandIn::LiberationSans:
        return QStringLiteral("Liberation Sans");
    case StandIn::Alias:
        break;
    }
    return QStringLiteral("URW Gothic");
}

// A fontconfig file in `folder` that makes `standIn` draw "Century Gothic". For the fallbacks
// URW Gothic is hidden, so that nothing finds the twin by another road.
inline QString fontConfig(const QString& folder, StandIn standIn, const QString& alias)
{
    QString body =
        QStringLiteral("<include ignore_missing=\"yes\">/etc/fonts/fonts.conf</include>");
    if (standIn == StandIn::Alias)
        body += QStringLiteral("<include>%1</include>").arg(alias);
    else
        body += QStringLiteral("<selectfont><rejectfont><glob>*URWGothic*</glob>"
                               "<pattern><patelt name=\"family\"><string>URW Gothic</string>"
                               "</patelt></pattern></rejectfont></selectfont>"
                               "<alias binding=\"same\"><family>Century Gothic</family><accept>"
                               "<family>%1</family></accept></alias>")
                    .arg(standInFace(standIn));
    const QString path = QDir(folder).filePath(QStringLiteral("fonts.conf"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write(QStringLiteral("<?xml version=\"1.0\"?>\n<fontconfig>%1</fontconfig>\n")
                   .arg(body)
                   .toUtf8());
    return path;
}

// LibreOffice converting `files` to PDF in `out`, with its own profile in `folder` and the
// fontconfig file given. Returns what it printed when it failed, else nothing.
inline QString convertToPdf(const QString& soffice, const QString& folder, const QString& fonts,
                            const QStringList& files, const QString& out, int timeoutMs)
{
    QProcess office;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("FONTCONFIG_FILE"), fonts);
    office.setProcessEnvironment(environment);
    office.setProcessChannelMode(QProcess::MergedChannels);
    office.start(soffice, QStringList{QStringLiteral("--headless"),
                                      QStringLiteral("-env:UserInstallation=file://") +
                                          QDir(folder).filePath(QStringLiteral("profilo")),
                                      QStringLiteral("--convert-to"), QStringLiteral("pdf"),
                                      QStringLiteral("--outdir"), out}
                              << files);
    if (!office.waitForFinished(timeoutMs))
        return QStringLiteral("LibreOffice non ha finito in tempo");
    return office.exitCode() == 0 ? QString() : QString::fromLocal8Bit(office.readAll());
}

} // namespace urbaflux::office

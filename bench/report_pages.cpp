// Writes the window printouts and the full report of an elaboration of N areas with long area
// names into a folder, as DOCX, ODT and PDF, with the program's page count of each; and, for
// LibreOffice's floor, the same cells of the distances printout and of the report as an
// unformatted DOCX (tables of 50 rows, no style, no fonts, no heading rows).
// bench/libreoffice_pages.sh converts them with LibreOffice and compares.
//
//   report_pages <areas> <folder>
// prints one line per printout: "<name> <pages>".

#include "../tests/report/sampleprintouts.h"
#include "chartpicture.h"
#include "documentwriter.h"
#include "docxexporter.h"
#include "fullreport.h"
#include "pagelayout.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <QXmlStreamWriter>
#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipnewinfo.h>

#include <chartslots.h>
#include <cstdio>

using namespace urbaflux;

namespace {

bool addEntry(QuaZip& zip, const QString& name, const QByteArray& data)
{
    QuaZipFile file(&zip);
    if (!file.open(QIODevice::WriteOnly, QuaZipNewInfo(name)))
        return false;
    file.write(data);
    file.close();
    return file.getZipError() == ZIP_OK;
}

// The cells of every table of the document, and nothing else.
bool writeUnformattedDocx(const Document& document, const QString& path)
{
    const QString w =
        QStringLiteral("http://schemas.openxmlformats.org/wordprocessingml/2006/main");
    QByteArray body;
    QXmlStreamWriter xml(&body);
    xml.writeStartDocument();
    xml.writeNamespace(w, QStringLiteral("w"));
    xml.writeStartElement(w, QStringLiteral("document"));
    xml.writeStartElement(w, QStringLiteral("body"));
    for (const Table* table : document.tables()) {
        for (int start = 0; start < table->rows; start += 50) {
            xml.writeStartElement(w, QStringLiteral("tbl"));
            xml.writeStartElement(w, QStringLiteral("tblGrid"));
            for (int c = 0; c < table->columns; ++c) {
                xml.writeEmptyElement(w, QStringLiteral("gridCol"));
                xml.writeAttribute(w, QStringLiteral("w"), QString::number(9600 / table->columns));
            }
            xml.writeEndElement();
            for (int row = start; row < std::min(table->rows, start + 50); ++row) {
                xml.writeStartElement(w, QStringLiteral("tr"));
                for (int c = 0; c < table->columns; ++c) {
                    xml.writeStartElement(w, QStringLiteral("tc"));
                    xml.writeStartElement(w, QStringLiteral("p"));
                    xml.writeStartElement(w, QStringLiteral("r"));
                    xml.writeTextElement(w, QStringLiteral("t"), table->cell(row, c));
                    xml.writeEndElement();
                    xml.writeEndElement();
                    xml.writeEndElement();
                }
                xml.writeEndElement();
            }
            xml.writeEndElement(); // tbl
            xml.writeEmptyElement(w, QStringLiteral("p"));
        }
    }
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndDocument();

    const QByteArray types =
        "<?xml version=\"1.0\"?><Types "
        "xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\"><Default "
        "Extension=\"rels\" "
        "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/><Default "
        "Extension=\"xml\" ContentType=\"application/xml\"/><Override "
        "PartName=\"/word/document.xml\" "
        "ContentType=\"application/"
        "vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/></Types>";
    const QByteArray rels =
        "<?xml version=\"1.0\"?><Relationships "
        "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\"><Relationship "
        "Id=\"rId1\" "
        "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
        "officeDocument\" Target=\"word/document.xml\"/></Relationships>";
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    {
        QuaZip zip(&file);
        zip.setAutoClose(false);
        if (!zip.open(QuaZip::mdCreate))
            return false;
        if (!addEntry(zip, QStringLiteral("[Content_Types].xml"), types) ||
            !addEntry(zip, QStringLiteral("_rels/.rels"), rels) ||
            !addEntry(zip, QStringLiteral("word/document.xml"), body))
            return false;
        zip.close();
    }
    return file.commit();
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 3) {
        std::fprintf(stderr, "uso: report_pages <aree> <cartella>\n");
        return 2;
    }
    const int areas = arguments[1].toInt();
    const QDir folder(arguments[2]);
    if (areas < 1 || areas > kMaxAreas || !QDir().mkpath(folder.path())) {
        std::fprintf(stderr, "report_pages: aree da 1 a 180 e una cartella scrivibile\n");
        return 2;
    }
    QTextStream out(stdout);
    const auto state = samples::elaboration(areas);
    auto documents = samples::windowPrintouts(*state);
    QTemporaryDir scratch;
    const QString picture = scratch.filePath(QStringLiteral("grafico.png"));
    if (!scratch.isValid() ||
        !renderChartPicture(selectChartSlots(*state), ChartKind::Bars, picture)) {
        std::fprintf(stderr, "report_pages: impossibile disegnare il grafico\n");
        return 1;
    }
    DocumentWriter writer;
    TitlePage texts;
    texts.committente = QStringLiteral("Comune di Lucca");
    texts.luogo = QStringLiteral("Pisa");
    texts.data = QStringLiteral("mercoledì, 9 dic 2026");
    writeFullReport(writer, {*state,
                             texts,
                             {QStringLiteral("Studio Tecnico Associato Bianchi"),
                              QStringLiteral("via Garibaldi 12, Pisa")},
                             {QStringLiteral("4567890"), QStringLiteral("3456789.50")},
                             picture});
    documents.emplace_back(QStringLiteral("relazione"), writer.takeDocument());
    for (const auto& [name, document] : documents) {
        PageLayout layout(*document);
        layout.paginateAll();
        const QString base = folder.filePath(QStringLiteral("%1-%2").arg(name).arg(areas));
        for (const char* suffix : {".docx", ".odt", ".pdf"}) {
            const QString path = base + QString::fromLatin1(suffix);
            const DocumentSaveResult saved = saveDocument(*document, path);
            if (!saved) {
                std::fprintf(stderr, "%s\n", qPrintable(saved.error));
                return 1;
            }
        }
        if ((name == QStringLiteral("distanze") || name == QStringLiteral("relazione")) &&
            !writeUnformattedDocx(*document, base + QStringLiteral("-grezzo.docx"))) {
            std::fprintf(stderr, "report_pages: impossibile scrivere il DOCX grezzo\n");
            return 1;
        }
        out << name << ' ' << layout.pageCount() << Qt::endl;
    }
    return 0;
}

#pragma once

// Documents built the way the printouts build theirs, shared by the tests and the benchmark.

#include "documentwriter.h"

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QString>

namespace urbaflux::samples {

inline QString cr()
{
    return QString(QChar(13));
}

// A picture like the chart of the report: bars on white, with a frame.
inline QImage chartPicture()
{
    QImage image(640, 400, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(Qt::black);
    painter.drawRect(0, 0, 639, 399);
    for (int i = 0; i < 10; ++i)
        painter.fillRect(40 + i * 58, 360 - (i + 1) * 30, 40, (i + 1) * 30,
                         QColor::fromHsv(i * 36, 200, 220));
    return image;
}

// The area table of a printout: heading row, N areas, the totals row.
inline void appendAreaTable(DocumentWriter& writer, int areas)
{
    writer.AppendParagraph();
    writer.AppendTable(areas + 2, 4);
    writer.SetTableFontSize(10);
    const QStringList heading = {QStringLiteral("n."), QStringLiteral("nome dell'area"),
                                 QStringLiteral("origini"), QStringLiteral("destinazioni")};
    for (int column = 1; column <= 4; ++column)
        writer.SetCell(1, column, heading[column - 1]);
    for (int i = 1; i <= areas; ++i) {
        writer.SetCell(i + 1, 1, QStringLiteral(" %1").arg(i));
        writer.SetCell(i + 1, 2, QStringLiteral("Area numero %1").arg(i));
        writer.SetCell(i + 1, 3, QString::number(100 + i * 7));
        writer.SetCell(i + 1, 4, QStringLiteral("%1.50").arg(90 + i * 3));
    }
    writer.SetCell(areas + 2, 2, QStringLiteral("totale delle origini e delle destinazioni"));
    writer.SetCell(areas + 2, 3, QStringLiteral("1234"));
    writer.SetCell(areas + 2, 4, QStringLiteral("1234"));
    writer.FormatTable();
}

// A document that goes through every operation of the writer, in the order of the report.
inline void buildEveryOperation(DocumentWriter& writer, const QString& picturePath)
{
    writer.StartDocument();
    writer.SetFont(QStringLiteral("Century Gothic"));
    writer.SetFontSize(20);
    writer.TypeText(QStringLiteral("MODELLO GRAVITAZIONALE URBANISTICO") + cr());
    writer.SetFontSize(14);
    writer.TypeText(QStringLiteral("a 'origine vincolata'") + cr() + cr() + cr() +
                    QStringLiteral("progetto: Piano dei servizi") + cr() + cr());
    writer.TypeText(QStringLiteral("località: Città di prova") + cr());
    writer.SetFontSize(18);
    writer.TypeText(QString(QChar(12)) + QStringLiteral("RELAZIONE") + cr() + cr());
    writer.SetFontSize(16);
    writer.TypeText(QStringLiteral("A) Criteri adottati nel calcolo") + cr() + cr());
    writer.SetFontSize(12);
    QString body = QStringLiteral("La presente elaborazione è stata realizzata mediante  "
                                  "l'ausilio di un computer.");
    for (int i = 0; i < 6; ++i)
        body += QStringLiteral(" Le interazioni sono calcolate con un modello gravitazionale "
                               "analitico, per analogia con la legge di Newton.");
    writer.TypeText(body + cr());
    writer.TypeText(cr() +
                    QStringLiteral("Il grafico sottostante riporta le principali "
                                   "gravitazioni tra le singole aree.") +
                    cr());
    writer.InsertPicture(picturePath);
    writer.TypeText(cr());
    writer.AppendParagraph(16, cr() + QStringLiteral("F) Origini e destinazioni") + cr() + cr());
    appendAreaTable(writer, 3);
    writer.AppendParagraph(16, cr() + QStringLiteral("G) Distanze e gravitazioni") + cr() + cr());
    writer.AppendTable(5, 6);
    writer.SetTableFontSize(8);
    const QStringList heading = {QStringLiteral("n."),
                                 QStringLiteral("n.-n."),
                                 QStringLiteral("nomi delle aree (origini-destinazioni)"),
                                 QStringLiteral("distanze in km"),
                                 QStringLiteral("peso in %"),
                                 QStringLiteral("interazioni")};
    for (int column = 1; column <= 6; ++column)
        writer.SetCell(1, column, heading[column - 1]);
    for (int k = 1; k <= 4; ++k) {
        writer.SetCell(k + 1, 1, QStringLiteral(" %1").arg(k));
        writer.SetCell(k + 1, 2,
                       QStringLiteral(" %1- %2").arg((k - 1) / 2 + 1).arg((k - 1) % 2 + 1));
        writer.SetCell(k + 1, 3, QStringLiteral("Nord-Sud"));
        writer.SetCell(k + 1, 4, QString::number(k * 3));
        writer.SetCell(k + 1, 5, QStringLiteral("100"));
        writer.SetCell(k + 1, 6, QStringLiteral("%1.25").arg(k * 11));
    }
    writer.FormatTable();
    const int pages = writer.CountPages();
    writer.AppendParagraph(
        12, cr() + cr() + QStringLiteral("La presente relazione è composta di n.") +
                DocumentWriter::pageCountText(pages) + QStringLiteral(" pagine.") + cr());
    writer.AppendParagraph(12, QStringLiteral("il progettista") + cr());
    writer.JustifyAll();
    writer.AlignColumnRight(1, 3);
    writer.AlignColumnRight(1, 4);
    writer.AlignColumnRight(2, 4);
    writer.AlignColumnRight(2, 5);
    writer.AlignColumnRight(2, 6);
}

// The distances printout of `rows` - 1 pairs: a 6-column table of `rows` rows at 8 points.
inline void buildDistancesPrintout(DocumentWriter& writer, int rows)
{
    writer.StartDocument();
    writer.SetFont(QStringLiteral("Century Gothic"));
    writer.SetFontSize(20);
    writer.TypeText(QStringLiteral("Urbaflux") + cr());
    writer.SetFontSize(16);
    writer.TypeText(QStringLiteral("modelli gravitazionali urbanistici") + cr() + cr());
    writer.SetFontSize(12);
    writer.TypeText(QStringLiteral("Distanze tra le aree") + cr());
    writer.AppendParagraph();
    writer.AppendTable(rows, 6);
    writer.SetTableFontSize(8);
    writer.SetCell(1, 1, QStringLiteral("n."));
    writer.SetCell(1, 2, QStringLiteral("n.-n."));
    writer.SetCell(1, 3, QStringLiteral("nomi delle aree (origini-destinazioni)"));
    writer.SetCell(1, 4, QStringLiteral("distanze in km"));
    writer.SetCell(1, 5, QStringLiteral("peso in %"));
    writer.SetCell(1, 6, QStringLiteral("interazioni"));
    const int areas = 180;
    for (int k = 1; k < rows; ++k) {
        const int i = (k - 1) / areas + 1;
        const int j = (k - 1) % areas + 1;
        writer.SetCell(k + 1, 1, QStringLiteral(" %1").arg(k));
        writer.SetCell(k + 1, 2, QStringLiteral(" %1- %2").arg(i).arg(j));
        writer.SetCell(k + 1, 3, QStringLiteral("Zona %1-Zona %2").arg(i).arg(j));
        writer.SetCell(k + 1, 4, QString::number(1 + (i * 7 + j * 3) % 40));
        writer.SetCell(k + 1, 5, QStringLiteral("100"));
        writer.SetCell(k + 1, 6, QString::number(1000.0 / (1 + (i + j) % 97), 'g', 7));
    }
    writer.FormatTable();
    writer.AlignColumnRight(1, 4);
    writer.AlignColumnRight(1, 5);
    writer.AlignColumnRight(1, 6);
}

} // namespace urbaflux::samples

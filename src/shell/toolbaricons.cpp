#include "toolbaricons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <array>

namespace urbaflux {

namespace {

const QColor kInk(40, 48, 64);
const QColor kBlue(52, 101, 164);
const QColor kYellow(237, 212, 0);
const QColor kRed(204, 0, 0);
const QColor kGreen(78, 154, 6);

void drawFolder(QPainter& p)
{
    p.setBrush(kYellow);
    QPainterPath path;
    path.moveTo(2, 6);
    path.lineTo(8, 6);
    path.lineTo(10, 8);
    path.lineTo(21, 8);
    path.lineTo(21, 19);
    path.lineTo(2, 19);
    path.closeSubpath();
    p.drawPath(path);
    p.setBrush(QColor(252, 233, 79));
    QPainterPath flap;
    flap.moveTo(5, 11);
    flap.lineTo(23, 11);
    flap.lineTo(20, 19);
    flap.lineTo(2, 19);
    flap.closeSubpath();
    p.drawPath(flap);
}

void drawDisk(QPainter& p)
{
    p.setBrush(kBlue);
    p.drawRoundedRect(QRectF(3, 3, 18, 18), 2, 2);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(6, 3, 12, 7));
    p.setBrush(QColor(186, 189, 182));
    p.drawRect(QRectF(7, 14, 10, 7));
}

void drawPencil(QPainter& p)
{
    p.save();
    p.translate(17, 13);
    p.rotate(45);
    p.setBrush(kYellow);
    p.drawRect(QRectF(-2, -9, 4, 12));
    p.setBrush(QColor(233, 185, 110));
    QPainterPath tip;
    tip.moveTo(-2, 3);
    tip.lineTo(2, 3);
    tip.lineTo(0, 7);
    tip.closeSubpath();
    p.drawPath(tip);
    p.restore();
}

void drawCross(QPainter& p, const QRectF& box)
{
    p.save();
    p.setPen(QPen(kRed, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(box.topLeft(), box.bottomRight());
    p.drawLine(box.topRight(), box.bottomLeft());
    p.restore();
}

void drawPage(QPainter& p, const QRectF& box)
{
    p.setBrush(Qt::white);
    p.drawRect(box);
    p.save();
    p.setPen(QPen(QColor(136, 138, 133), 1));
    for (qreal y = box.top() + 3; y < box.bottom() - 1; y += 3)
        p.drawLine(QPointF(box.left() + 2, y), QPointF(box.right() - 2, y));
    p.restore();
}

void drawPrinter(QPainter& p)
{
    drawPage(p, QRectF(7, 2, 10, 8));
    p.setBrush(QColor(136, 138, 133));
    p.drawRoundedRect(QRectF(2, 9, 20, 9), 2, 2);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(6, 15, 12, 7));
    p.setBrush(kGreen);
    p.drawEllipse(QPointF(19, 12), 1.2, 1.2);
}

void drawWindowNumber(QPainter& p, int number)
{
    p.setBrush(Qt::white);
    p.drawRect(QRectF(2, 3, 20, 18));
    p.setBrush(kBlue);
    p.drawRect(QRectF(2, 3, 20, 4));
    QFont font = p.font();
    font.setPixelSize(12);
    font.setBold(true);
    p.setFont(font);
    p.setPen(kInk);
    p.drawText(QRectF(2, 7, 20, 14), Qt::AlignCenter, QString::number(number));
}

void drawPalette(QPainter& p)
{
    p.setBrush(QColor(233, 185, 110));
    QPainterPath path;
    path.addEllipse(QRectF(2, 3, 20, 18));
    QPainterPath hole;
    hole.addEllipse(QRectF(13, 13, 5, 5));
    p.drawPath(path.subtracted(hole));
    const QColor dots[] = {kRed, kYellow, kGreen, kBlue};
    const QPointF centres[] = {{7, 8}, {12, 6}, {17, 8}, {7, 14}};
    for (int i = 0; i < 4; ++i) {
        p.setBrush(dots[i]);
        p.drawEllipse(centres[i], 2.2, 2.2);
    }
}

void drawBadge(QPainter& p, const QColor& fill, const QString& text)
{
    p.setBrush(fill);
    p.drawEllipse(QRectF(2, 2, 20, 20));
    QFont font = p.font();
    font.setPixelSize(14);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(2, 2, 20, 20), Qt::AlignCenter, text);
}

void drawCheck(QPainter& p)
{
    QFont font = p.font();
    font.setPixelSize(9);
    font.setBold(true);
    p.setFont(font);
    p.setPen(kInk);
    p.drawText(QRectF(0, 1, 24, 10), Qt::AlignCenter, QStringLiteral("ABC"));
    p.setPen(QPen(kGreen, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPainterPath tick;
    tick.moveTo(6, 16);
    tick.lineTo(10, 20);
    tick.lineTo(18, 12);
    p.setBrush(Qt::NoBrush);
    p.drawPath(tick);
}

void drawEraser(QPainter& p)
{
    drawPage(p, QRectF(4, 2, 14, 18));
    p.save();
    p.translate(15, 16);
    p.rotate(-35);
    p.setBrush(QColor(239, 41, 41));
    p.drawRect(QRectF(-7, -3, 9, 6));
    p.setBrush(QColor(114, 159, 207));
    p.drawRect(QRectF(2, -3, 5, 6));
    p.restore();
}

void drawExit(QPainter& p)
{
    p.setBrush(QColor(143, 89, 2));
    p.drawRect(QRectF(4, 2, 12, 20));
    p.setBrush(kYellow);
    p.drawEllipse(QPointF(13, 12), 1.2, 1.2);
    p.setPen(QPen(kRed, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(14, 12), QPointF(23, 12));
    p.drawLine(QPointF(19, 8), QPointF(23, 12));
    p.drawLine(QPointF(19, 16), QPointF(23, 12));
}

struct Entry
{
    ToolbarPosition position;
    void (*draw)(QPainter&);
};

// Index 0 is unused so that the positions read as users count them.
const std::array<Entry, kToolbarPositions + 1>& entries()
{
    using C = ToolbarCommand;
    static const std::array<Entry, kToolbarPositions + 1> table = {{
        {{}, nullptr},
        {{C::Open, QStringLiteral("apri file")}, drawFolder},
        {{C::Save, QStringLiteral("salva file")}, drawDisk},
        {{C::SaveAs, QStringLiteral("salva file con nome")},
         [](QPainter& p) {
             drawDisk(p);
             drawPencil(p);
         }},
        {{C::Delete, QStringLiteral("elimina file")},
         [](QPainter& p) {
             drawPage(p, QRectF(4, 2, 14, 19));
             drawCross(p, QRectF(10, 11, 10, 10));
         }},
        {{}, nullptr},
        {{C::Print, QStringLiteral("stampa dati finestra")}, drawPrinter},
        {{}, nullptr},
        {{C::ShowWindow, QString(), 1}, [](QPainter& p) { drawWindowNumber(p, 1); }},
        {{C::ShowWindow, QString(), 2}, [](QPainter& p) { drawWindowNumber(p, 2); }},
        {{C::ShowWindow, QString(), 3}, [](QPainter& p) { drawWindowNumber(p, 3); }},
        {{C::ShowWindow, QString(), 4}, [](QPainter& p) { drawWindowNumber(p, 4); }},
        {{C::ShowWindow, QString(), 5}, [](QPainter& p) { drawWindowNumber(p, 5); }},
        {{}, nullptr},
        {{C::Colour, QStringLiteral("colore di sfondo")}, drawPalette},
        {{}, nullptr},
        {{C::Guide, QStringLiteral("guida in linea")},
         [](QPainter& p) { drawBadge(p, kBlue, QStringLiteral("?")); }},
        // A position without a command, kept so that the others stand where users know them.
        {{C::Blank, QString()}, nullptr},
        {{C::About, QStringLiteral("informazioni su Urbaflux")},
         [](QPainter& p) { drawBadge(p, kGreen, QStringLiteral("i")); }},
        {{}, nullptr},
        {{C::Check, QStringLiteral("controllo dati immessi")}, drawCheck},
        {{C::Clear, QStringLiteral("cancella dati finestra")}, drawEraser},
        {{C::Exit, QStringLiteral("uscita da Urbaflux")}, drawExit},
    }};
    return table;
}

} // namespace

const ToolbarPosition& toolbarPosition(int position)
{
    const auto& table = entries();
    if (position < 1 || position > kToolbarPositions)
        return table[0].position;
    return table[static_cast<size_t>(position)].position;
}

QIcon toolbarIcon(int position)
{
    if (position < 1 || position > kToolbarPositions)
        return {};
    const Entry& entry = entries()[static_cast<size_t>(position)];
    if (!entry.draw)
        return {};
    QIcon icon;
    for (int scale : {1, 2}) {
        QPixmap pixmap(24 * scale, 24 * scale);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.scale(scale, scale);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(kInk, 1));
        entry.draw(painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace urbaflux

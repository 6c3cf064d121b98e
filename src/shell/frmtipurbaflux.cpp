#include "frmtipurbaflux.h"

#include "archivefile.h"
#include "datafiles.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace urbaflux {

namespace {

// The picture: a light bulb, drawn rather than shipped.
QPixmap bulbPicture(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    QRadialGradient glass(QPointF(0.42 * s, 0.32 * s), 0.36 * s);
    glass.setColorAt(0, QColor(255, 252, 220));
    glass.setColorAt(1, QColor(250, 204, 64));
    p.setPen(QPen(QColor(150, 110, 20), 1.2));
    p.setBrush(glass);
    p.drawEllipse(QPointF(0.5 * s, 0.38 * s), 0.28 * s, 0.28 * s);
    p.setBrush(QColor(150, 150, 160));
    p.setPen(QPen(QColor(90, 90, 100), 1));
    p.drawRoundedRect(QRectF(0.38 * s, 0.64 * s, 0.24 * s, 0.2 * s), 2, 2);
    p.drawLine(QPointF(0.38 * s, 0.71 * s), QPointF(0.62 * s, 0.71 * s));
    p.drawLine(QPointF(0.38 * s, 0.78 * s), QPointF(0.62 * s, 0.78 * s));
    return pixmap;
}

} // namespace

QString FrmTipUrbaflux::missingFileText()
{
    const QString name = tipsFileName();
    return QStringLiteral("Impossibile trovare il file ") + name + QStringLiteral("\r\n\r\n") +
           QStringLiteral("Creare un file di testo denominato ") + name +
           QStringLiteral(" utilizzando il Blocco note e inserendo un suggerimento per ogni "
                          "riga. ") +
           QStringLiteral("Inserire il file nella stessa directory dell'applicazione. ");
}

FrmTipUrbaflux::FrmTipUrbaflux(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frmTipUrbaflux"));
    setWindowTitle(QStringLiteral("Suggerimento del giorno"));

    m_picture = new QLabel(this);
    m_picture->setObjectName(QStringLiteral("Picture1"));
    m_picture->setPixmap(bulbPicture(56));
    m_picture->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    m_label1 = new QLabel(QStringLiteral("Non tutti sanno che..."), this);
    m_label1->setObjectName(QStringLiteral("Label1"));
    QFont headingFont = m_label1->font();
    headingFont.setBold(true);
    headingFont.setPointSizeF(headingFont.pointSizeF() + 2);
    m_label1->setFont(headingFont);

    m_lblTipText = new QLabel(this);
    m_lblTipText->setObjectName(QStringLiteral("lblTipText"));
    m_lblTipText->setWordWrap(true);
    m_lblTipText->setTextFormat(Qt::PlainText);
    m_lblTipText->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_lblTipText->setMinimumHeight(120);
    m_lblTipText->setText(QStringLiteral("Nessun suggerimento disponibile."));
    m_tipText = m_lblTipText->text();

    m_cmdprecedente = new QPushButton(QStringLiteral("&Precedente"), this);
    m_cmdprecedente->setObjectName(QStringLiteral("cmdprecedente"));
    m_cmdNextTip = new QPushButton(QStringLiteral("&Successivo"), this);
    m_cmdNextTip->setObjectName(QStringLiteral("cmdNextTip"));
    m_cmdOK = new QPushButton(QStringLiteral("&Chiudi"), this);
    m_cmdOK->setObjectName(QStringLiteral("cmdOK"));
    m_cmdOK->setDefault(true);

    // The tip on a light panel beside the picture, the buttons in a row underneath.
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("panel"));
    panel->setAutoFillBackground(true);
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, QColor(255, 255, 238));
    panel->setPalette(palette);
    auto* panelLayout = new QHBoxLayout(panel);
    panelLayout->setContentsMargins(12, 12, 12, 12);
    panelLayout->setSpacing(12);
    panelLayout->addWidget(m_picture, 0, Qt::AlignTop);
    auto* textColumn = new QVBoxLayout;
    textColumn->setSpacing(10);
    textColumn->addWidget(m_label1);
    textColumn->addWidget(m_lblTipText, 1);
    panelLayout->addLayout(textColumn, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_cmdprecedente);
    buttons->addWidget(m_cmdNextTip);
    buttons->addWidget(m_cmdOK);

    auto* column = new QVBoxLayout(this);
    column->addWidget(panel, 1);
    column->addLayout(buttons);
    setFixedSize(440, 260);

    connect(m_cmdNextTip, &QPushButton::clicked, this, &FrmTipUrbaflux::cmdNextTip_Click);
    connect(m_cmdprecedente, &QPushButton::clicked, this, &FrmTipUrbaflux::cmdprecedente_Click);
    connect(m_cmdOK, &QPushButton::clicked, this, &FrmTipUrbaflux::cmdOK_Click);
}

void FrmTipUrbaflux::runLoad()
{
    if (!LoadTips(locateDataFile(tipsFileName(), DataFileFirst::ExecutableDirectory)))
        setTipText(missingFileText());
    if (QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
}

QStringList FrmTipUrbaflux::splitTipLines(const QString& text)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype length = text.size();
    for (qsizetype i = 0; i < length; ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n'))
            continue;
        lines.append(text.mid(start, i - start));
        if (c == QLatin1Char('\r') && i + 1 < length && text.at(i + 1) == QLatin1Char('\n'))
            ++i;
        start = i + 1;
    }
    // The last line needs no line end; a line end at the very end starts no further tip.
    if (start < length)
        lines.append(text.mid(start));
    return lines;
}

bool FrmTipUrbaflux::LoadTips(const QString& path)
{
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    m_tips.append(splitTipLines(decodeArchiveBytes(file.readAll())));
    file.close();
    cmdNextTip_Click();
    return true;
}

void FrmTipUrbaflux::DisplayCurrentTip()
{
    if (m_tips.isEmpty())
        return;
    setTipText(m_tips.at(m_currentTip - 1));
}

void FrmTipUrbaflux::cmdNextTip_Click()
{
    ++m_currentTip;
    if (m_currentTip > m_tips.size())
        m_currentTip = 1;
    DisplayCurrentTip();
}

void FrmTipUrbaflux::cmdprecedente_Click()
{
    if (m_currentTip <= 1 || m_tips.isEmpty())
        return;
    --m_currentTip;
    setTipText(m_tips.at(m_currentTip - 1));
}

void FrmTipUrbaflux::cmdOK_Click()
{
    hide();
}

void FrmTipUrbaflux::setTipText(const QString& text)
{
    m_tipText = text;
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    m_lblTipText->setText(shown);
}

} // namespace urbaflux

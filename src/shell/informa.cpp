#include "informa.h"

#include "appcontext.h"
#include "projectstate.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QSysInfo>
#include <QVBoxLayout>

namespace urbaflux {

namespace {

// Two areas and the pull between them: the program's emblem.
QPixmap emblem(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    p.setPen(QPen(QColor(214, 160, 20), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(0.28 * s, 0.62 * s), QPointF(0.72 * s, 0.34 * s));
    p.setPen(QPen(QColor(32, 74, 135), 1.5));
    p.setBrush(QColor(114, 159, 207));
    p.drawEllipse(QPointF(0.28 * s, 0.62 * s), 0.2 * s, 0.2 * s);
    p.drawEllipse(QPointF(0.72 * s, 0.34 * s), 0.13 * s, 0.13 * s);
    return pixmap;
}

QString systemName(const QString& kernelType)
{
    const QString kernel = kernelType.toLower();
    if (kernel == QStringLiteral("linux"))
        return QStringLiteral("Linux");
    if (kernel == QStringLiteral("winnt"))
        return QStringLiteral("Windows");
    if (kernel == QStringLiteral("darwin"))
        return QStringLiteral("macOS");
    if (kernel == QStringLiteral("freebsd"))
        return QStringLiteral("FreeBSD");
    if (kernel == QStringLiteral("netbsd"))
        return QStringLiteral("NetBSD");
    if (kernel == QStringLiteral("openbsd"))
        return QStringLiteral("OpenBSD");
    if (kernel.isEmpty())
        return QStringLiteral("sconosciuti");
    return kernelType.left(1).toUpper() + kernelType.mid(1);
}

int bitsOf(const QString& cpuArchitecture)
{
    // x86_64, arm64, riscv64, ppc64, mips64, s390x, ia64, wasm: 64 bit; i386, arm, ...: 32.
    if (cpuArchitecture.contains(QStringLiteral("64")) ||
        cpuArchitecture == QStringLiteral("s390x"))
        return 64;
    if (cpuArchitecture.isEmpty())
        return QSysInfo::WordSize;
    return 32;
}

} // namespace

QString Informa::systemText(const QString& kernelType, const QString& cpuArchitecture)
{
    return QStringLiteral("per sistemi %1 a %2 bit ")
        .arg(systemName(kernelType))
        .arg(bitsOf(cpuArchitecture));
}

QString Informa::runningSystemText()
{
    return systemText(QSysInfo::kernelType(), QSysInfo::currentCpuArchitecture());
}

Informa::Informa(AppContext& context, QWidget* parent)
    : QWidget(parent, Qt::Window), m_context(context)
{
    setObjectName(QStringLiteral("informa"));

    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Picture1"));
    picture->setPixmap(emblem(64));
    picture->setAlignment(Qt::AlignTop);

    m_lblName = new QLabel(this);
    m_lblName->setObjectName(QStringLiteral("lblName"));
    QFont nameFont = m_lblName->font();
    nameFont.setBold(true);
    nameFont.setPointSizeF(nameFont.pointSizeF() * 2);
    m_lblName->setFont(nameFont);
    m_lblDescription = new QLabel(this);
    m_lblDescription->setObjectName(QStringLiteral("lblDescription"));
    QFont descriptionFont = m_lblDescription->font();
    descriptionFont.setPointSizeF(descriptionFont.pointSizeF() + 2);
    m_lblDescription->setFont(descriptionFont);
    m_lblVersion = new QLabel(this);
    m_lblVersion->setObjectName(QStringLiteral("lblVersion"));
    m_lblSystem = new QLabel(this);
    m_lblSystem->setObjectName(QStringLiteral("lblSystem"));

    m_cmdOK = new QPushButton(QStringLiteral("OK"), this);
    m_cmdOK->setObjectName(QStringLiteral("cmdOK"));
    m_cmdOK->setDefault(true);
    connect(m_cmdOK, &QPushButton::clicked, this, &Informa::cmdOK_Click);

    auto* texts = new QVBoxLayout;
    texts->setSpacing(6);
    texts->addWidget(m_lblName);
    texts->addWidget(m_lblDescription);
    texts->addSpacing(10);
    texts->addWidget(m_lblVersion);
    texts->addWidget(m_lblSystem);
    texts->addStretch(1);
    auto* top = new QHBoxLayout;
    top->setSpacing(18);
    top->addWidget(picture, 0, Qt::AlignTop);
    top->addLayout(texts, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_cmdOK);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(18, 18, 18, 12);
    column->addLayout(top, 1);
    column->addLayout(buttons);
    setFixedSize(420, 230);
}

void Informa::runLoad()
{
    const RunValues& run = m_context.state.run;
    setWindowTitle(QStringLiteral("Informazioni su ") + run.programName);
    m_lblName->setText(run.programName);
    m_lblDescription->setText(run.programDescription);
    m_lblVersion->setText(QStringLiteral("edizione professionale - versione ") +
                          run.programVersion);
    m_lblSystem->setText(runningSystemText());
    if (QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
}

void Informa::cmdOK_Click()
{
    hide();
}

} // namespace urbaflux

#include "frmsplash.h"

#include "appcontext.h"
#include "datafiles.h"
#include "projectstate.h"
#include "windowmanager.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <cmath>

namespace urbaflux {

namespace {

constexpr int kWidth = 600;
constexpr int kHeight = 380;

// The picture: areas as discs sized by their mass, joined by lines as strong as their pull.
QPixmap gravityPicture(QSize size)
{
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    struct Area
    {
        QPointF centre;
        qreal mass;
    };
    const qreal w = size.width();
    const qreal h = size.height();
    const Area areas[] = {{{0.22 * w, 0.30 * h}, 15}, {{0.70 * w, 0.22 * h}, 10},
                          {{0.52 * w, 0.62 * h}, 20}, {{0.15 * w, 0.78 * h}, 8},
                          {{0.86 * w, 0.72 * h}, 12}, {{0.42 * w, 0.14 * h}, 6}};
    for (size_t i = 0; i < std::size(areas); ++i) {
        for (size_t j = i + 1; j < std::size(areas); ++j) {
            const QPointF delta = areas[i].centre - areas[j].centre;
            const qreal distance = std::hypot(delta.x(), delta.y()) / 40.0;
            const qreal pull = areas[i].mass * areas[j].mass / (distance * distance);
            p.setPen(QPen(QColor(255, 214, 102, 200), qBound(0.6, pull / 12.0, 6.0), Qt::SolidLine,
                          Qt::RoundCap));
            p.drawLine(areas[i].centre, areas[j].centre);
        }
    }
    for (const Area& area : areas) {
        QRadialGradient glow(area.centre, area.mass);
        glow.setColorAt(0, QColor(255, 255, 255));
        glow.setColorAt(0.5, QColor(114, 159, 207));
        glow.setColorAt(1, QColor(32, 74, 135));
        p.setPen(QPen(QColor(255, 255, 255, 180), 1));
        p.setBrush(glow);
        p.drawEllipse(area.centre, area.mass, area.mass);
    }
    return pixmap;
}

QLabel* makeLabel(QWidget* parent, int pointSize, bool bold, const QColor& colour,
                  Qt::Alignment alignment)
{
    auto* label = new QLabel(parent);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSize(pointSize);
    font.setBold(bold);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    label->setAlignment(alignment);
    // Clicks on a label count as clicks on the window.
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    return label;
}

} // namespace

FrmSplash::FrmSplash(AppContext& context, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_context(context)
{
    setObjectName(QStringLiteral("frmSplash"));
    setWindowTitle(QStringLiteral("Urbaflux"));
    setFixedSize(kWidth, kHeight);
    setFocusPolicy(Qt::StrongFocus);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    QLinearGradient sky(0, 0, 0, kHeight);
    sky.setColorAt(0, QColor(16, 38, 76));
    sky.setColorAt(1, QColor(46, 92, 150));
    palette.setBrush(QPalette::Window, sky);
    setPalette(palette);

    m_image = new QLabel(this);
    m_image->setObjectName(QStringLiteral("Image1"));
    m_image->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_image->setGeometry(330, 70, 250, 200);
    m_image->setPixmap(gravityPicture(m_image->size()));

    const QColor light(240, 244, 250);
    const QColor gold(255, 214, 102);
    m_labels[2] = makeLabel(this, 13, false, light, Qt::AlignLeft | Qt::AlignVCenter);
    m_labels[2]->setGeometry(24, 24, 400, 30);
    m_labels[3] = makeLabel(this, 40, true, gold, Qt::AlignLeft | Qt::AlignVCenter);
    m_labels[3]->setGeometry(30, 80, 320, 80);
    m_labels[4] = makeLabel(this, 14, false, light, Qt::AlignLeft | Qt::AlignTop);
    m_labels[4]->setWordWrap(true);
    m_labels[4]->setGeometry(32, 165, 290, 60);
    m_labels[5] = makeLabel(this, 10, true, light, Qt::AlignLeft | Qt::AlignVCenter);
    m_labels[5]->setGeometry(32, 250, 380, 24);
    m_labels[8] = makeLabel(this, 9, false, QColor(200, 212, 230), Qt::AlignCenter);
    m_labels[8]->setGeometry(0, kHeight - 40, kWidth, 24);
    m_labels[8]->setText(
        QStringLiteral("(cliccare sulla finestra per iniziare; premere un tasto per uscire)"));
    m_labels[2]->setText(QStringLiteral("                        presenta"));
    for (int i = 0; i < static_cast<int>(m_labels.size()); ++i) {
        if (m_labels[static_cast<size_t>(i)])
            m_labels[static_cast<size_t>(i)]->setObjectName(QStringLiteral("label%1").arg(i));
    }
}

FrmSplash::~FrmSplash() = default;

QLabel* FrmSplash::label(int index) const
{
    if (index < 0 || index >= static_cast<int>(m_labels.size()))
        return nullptr;
    return m_labels[static_cast<size_t>(index)];
}

void FrmSplash::runLoad()
{
    // The working directory first, where the music has always been looked for, then the
    // installed data folder, so that a program started from the desktop menu plays it too.
    // Found nowhere, the plain name stays and the splash is silent.
    const QString music =
        locateDataFile(QStringLiteral("Internet.mid"), DataFileFirst::WorkingDirectory);
    m_player.setFileName(music.isEmpty() ? QStringLiteral("Internet.mid") : music);
    m_player.command(QStringLiteral("open"));
    m_player.command(QStringLiteral("play"));
    m_context.windows.applyDefaults();
    RunValues& run = m_context.state.run;
    run.programName = QStringLiteral("Urbaflux");
    run.programDescription = QStringLiteral("modelli gravitazionali urbanistici");
    run.programVersion = QStringLiteral("3.04.05");
    run.programDate = QStringLiteral("25-11-1998");
    m_labels[3]->setText(run.programName);
    m_labels[4]->setText(run.programDescription);
    m_labels[5]->setText(QStringLiteral("EDIZIONE PROFESSIONALE - VERSIONE ") + run.programVersion);

    if (QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.x() + (area.width() - kWidth) / 2, area.y() + (area.height() - kHeight) / 2);
    }
}

void FrmSplash::showClosingScreen()
{
    m_player.command(QStringLiteral("play"));
    m_labels[2]->setText(QStringLiteral("            elaborazione eseguita con"));
}

void FrmSplash::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    setFocus(Qt::OtherFocusReason);
}

void FrmSplash::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    m_player.command(QStringLiteral("pause"));
    // The splash stays loaded behind the working windows.
    m_context.windows.showWindow(WindowId::Menu);
}

void FrmSplash::keyPressEvent(QKeyEvent* event)
{
    event->accept();
    end();
}

void FrmSplash::closeEvent(QCloseEvent* event)
{
    // Closing the splash by the window system is the same as pressing a key on it.
    event->accept();
    end();
}

void FrmSplash::end()
{
    if (m_ending)
        return;
    m_ending = true;
    m_player.command(QStringLiteral("close"));
    WindowManager& windows = m_context.windows;
    windows.unload(WindowId::Splash);
    windows.endIfNothingShown();
}

} // namespace urbaflux

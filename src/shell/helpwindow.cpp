#include "helpwindow.h"

#include "clsresize.h"

#include <QGuiApplication>
#include <QResizeEvent>
#include <QScreen>

namespace urbaflux {

HelpWindow::HelpWindow(WindowId id, AppContext& context, int designWidthTwips,
                       int designHeightTwips, QWidget* parent)
    : QWidget(parent, Qt::Window), m_id(id), m_context(context),
      m_resizer(std::make_unique<clsResize>())
{
    // The controls are placed for this inner size; the resizer records them there.
    resize(twipsToPixels(designWidthTwips), twipsToPixels(designHeightTwips));
    m_resizer->SetSourceForm(this);
}

HelpWindow::~HelpWindow() = default;

int HelpWindow::twipsToPixels(int twips)
{
    return (twips + clsResize::kTwipsPerPixel / 2) / clsResize::kTwipsPerPixel;
}

void HelpWindow::placeTwips(QWidget* control, int left, int top, int width, int height)
{
    control->setGeometry(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width),
                         twipsToPixels(height));
}

void HelpWindow::placeWindow(int outerWidthTwips, int outerHeightTwips, int leftTwips)
{
    m_resizer->SizeFormToScreen(75);
    m_outerWidth = twipsToPixels(outerWidthTwips);
    m_outerHeight = twipsToPixels(outerHeightTwips);
    if (leftTwips >= 0) {
        QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
        const int screenLeft = screen ? screen->geometry().x() : 0;
        move(screenLeft + twipsToPixels(leftTwips), y());
    }
    resize(m_outerWidth, m_outerHeight);
    m_resizer->ResizeControls();
}

void HelpWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (!m_resizer->needsCapture())
        m_resizer->ResizeControls();
}

void HelpWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // The outer size takes in the title bar and borders, known only once the window is shown.
    if (m_outerSizeFixed || m_outerWidth == 0)
        return;
    m_outerSizeFixed = true;
    const QSize decoration = frameGeometry().size() - geometry().size();
    if (!decoration.isEmpty())
        resize(m_outerWidth - decoration.width(), m_outerHeight - decoration.height());
}

} // namespace urbaflux

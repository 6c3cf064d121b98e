#include "clsresize.h"

#include "linecontrol.h"

#include <QFrame>
#include <QGroupBox>
#include <QGuiApplication>
#include <QScreen>
#include <QVariant>
#include <cmath>

namespace urbaflux {

namespace {

qint32 toTwips(int pixels)
{
    return static_cast<qint32>(pixels) * clsResize::kTwipsPerPixel;
}

int toPixels(double twips)
{
    return static_cast<int>(std::lround(twips / clsResize::kTwipsPerPixel));
}

bool isPlainContainer(const QWidget* widget)
{
    const QMetaObject* meta = widget->metaObject();
    return meta == &QWidget::staticMetaObject || meta == &QFrame::staticMetaObject ||
           meta == &QGroupBox::staticMetaObject;
}

void collect(QWidget* parent, QList<QWidget*>& out)
{
    for (QObject* child : parent->children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (!widget || widget->isWindow())
            continue;
        out.append(widget);
        if (isPlainContainer(widget))
            collect(widget, out);
    }
}

} // namespace

void clsResize::SetSourceForm(QWidget* form)
{
    m_form = form;
}

QList<QWidget*> clsResize::controlsOf(QWidget* form)
{
    QList<QWidget*> result;
    if (form)
        collect(form, result);
    return result;
}

unsigned clsResize::selectionOf(const QString& tag)
{
    if (!tag.startsWith(QLatin1Char('@')))
        return 0xF;
    unsigned selection = 0;
    if (tag.contains(QLatin1Char('L')))
        selection |= 1;
    if (tag.contains(QLatin1Char('T')))
        selection |= 2;
    if (tag.contains(QLatin1Char('W')))
        selection |= 4;
    if (tag.contains(QLatin1Char('H')))
        selection |= 8;
    return selection;
}

void clsResize::capture()
{
    m_layout.clear();
    if (!m_form)
        return;
    m_referenceWidth = toTwips(m_form->width());
    m_referenceHeight = toTwips(m_form->height());
    const QList<QWidget*> controls = controlsOf(m_form);
    m_layout.reserve(static_cast<size_t>(controls.size()));
    for (QWidget* control : controls) {
        Entry entry;
        entry.control = control;
        if (auto* line = qobject_cast<LineControl*>(control)) {
            entry.isLine = true;
            entry.first = toTwips(line->firstPoint().x());
            entry.second = toTwips(line->firstPoint().y());
            entry.third = toTwips(line->secondPoint().x());
            entry.fourth = toTwips(line->secondPoint().y());
        } else {
            const QRect g = control->geometry();
            entry.first = toTwips(g.x());
            entry.second = toTwips(g.y());
            entry.third = toTwips(g.width());
            entry.fourth = toTwips(g.height());
        }
        m_layout.push_back(entry);
    }
    m_needsCapture = false;
}

void clsResize::ReInitialise()
{
    capture();
}

void clsResize::ResizeControls()
{
    if (!m_form)
        return;
    if (controlsOf(m_form).isEmpty())
        return;
    if (m_form->window()->isMinimized())
        return;
    if (m_needsCapture) {
        capture();
        return;
    }
    // A zero reference or a collapsed form would squash every control to nothing.
    if (m_referenceWidth <= 0 || m_referenceHeight <= 0 || m_form->width() <= 0 ||
        m_form->height() <= 0)
        return;

    const bool updates = m_form->updatesEnabled();
    m_form->setUpdatesEnabled(false);
    const double vertical = static_cast<double>(toTwips(m_form->height())) / m_referenceHeight;
    const double horizontal = static_cast<double>(toTwips(m_form->width())) / m_referenceWidth;
    for (const Entry& entry : m_layout) {
        QWidget* control = entry.control.data();
        if (!control)
            continue; // a control that is gone has nothing left to set
        const unsigned selection = selectionOf(control->property("tag").toString());
        if (entry.isLine) {
            auto* line = static_cast<LineControl*>(control);
            QPoint a = line->firstPoint();
            QPoint b = line->secondPoint();
            if (selection & 1)
                a.setX(toPixels(entry.first * horizontal));
            if (selection & 2)
                a.setY(toPixels(entry.second * vertical));
            if (selection & 4)
                b.setX(toPixels(entry.third * horizontal));
            if (selection & 8)
                b.setY(toPixels(entry.fourth * vertical));
            line->setPoints(a, b);
            continue;
        }
        QRect g = control->geometry();
        if (selection & 1)
            g.moveLeft(toPixels(entry.first * horizontal));
        if (selection & 2)
            g.moveTop(toPixels(entry.second * vertical));
        if (selection & 4)
            g.setWidth(toPixels(entry.third * horizontal));
        if (selection & 8)
            g.setHeight(toPixels(entry.fourth * vertical));
        control->setGeometry(g);
    }
    m_form->setUpdatesEnabled(updates);
}

QRect clsResize::screenPlacement(const QRect& screen, quint8 percent)
{
    const int height = static_cast<int>(percent / 100.0 * screen.height());
    const int width = static_cast<int>(percent / 100.0 * screen.width());
    const int top = (screen.height() - height) / 2;
    const int left = (screen.width() - width) / 2;
    return {screen.x() + left, screen.y() + top, width, height};
}

void clsResize::SizeFormToScreen(quint8 percent)
{
    if (!m_form)
        return;
    if (m_needsCapture)
        capture();
    QWidget* window = m_form->window();
    QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect placed = screenPlacement(screen->geometry(), percent);
    window->move(placed.topLeft());
    window->resize(placed.size());
    ResizeControls();
}

} // namespace urbaflux

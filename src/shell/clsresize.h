#pragma once

// Keeps a window's layout proportional to its size. The reference layout (every control's
// left, top, width and height, or a line's end points, in twips) is recorded once; every later
// resize places each control at its reference values times the ratio between the current and
// the reference inner size. Scaling always starts from the stored values, so repeated resizing
// accumulates no rounding. Fonts are not scaled.
//
// A control's "tag" property may choose which values follow: a tag beginning with "@" lists
// them by letter (L left, T top, W width, H height, case-sensitive, anywhere in the tag); any
// other tag, or none, means all four.
//
// The source form is the widget whose children are laid out (a working window's body); its
// window is what SizeFormToScreen places and what counts as minimised.

#include <QPointer>
#include <QWidget>
#include <vector>

namespace urbaflux {

class clsResize
{
public:
    struct Entry
    {
        QPointer<QWidget> control;
        qint32 first = 0;  // left, or x of a line's first end point
        qint32 second = 0; // top, or y of the first end point
        qint32 third = 0;  // width, or x of the second end point
        qint32 fourth = 0; // height, or y of the second end point
        bool isLine = false;
    };

    static constexpr int kTwipsPerPixel = 15;

    clsResize() = default;

    QWidget* SourceForm() const { return m_form.data(); }
    void SetSourceForm(QWidget* form);

    // Records the reference layout again from the current one.
    void ReInitialise();
    // Sizes the window to percent of the screen in each direction and centres it, then brings
    // its controls to the new size.
    void SizeFormToScreen(quint8 percent);
    // Brings every control to the current inner size; the first call only records.
    void ResizeControls();

    bool needsCapture() const { return m_needsCapture; }
    qint32 referenceWidth() const { return m_referenceWidth; }
    qint32 referenceHeight() const { return m_referenceHeight; }
    const std::vector<Entry>& layout() const { return m_layout; }

    // The controls a form's layout covers, in collection order: its descendants, looking into
    // plain containers (QWidget, QFrame, QGroupBox) but not into composite controls, whose
    // insides lay themselves out.
    static QList<QWidget*> controlsOf(QWidget* form);

    // Which of the four values a tag lets follow the window: bit 0 first ... bit 3 fourth.
    static unsigned selectionOf(const QString& tag);

    // Where SizeFormToScreen puts a window on a screen of that geometry (pixels).
    static QRect screenPlacement(const QRect& screen, quint8 percent);

private:
    void capture();

    QPointer<QWidget> m_form;
    qint32 m_referenceWidth = 0;
    qint32 m_referenceHeight = 0;
    std::vector<Entry> m_layout;
    bool m_needsCapture = true;
};

} // namespace urbaflux

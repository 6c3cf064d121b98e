#pragma once

// What the contents window and the help pages share: a top-level window designed in twips,
// with its own resizer, placed by SizeFormToScreen(75) and then given its outer size (and, for
// the pages, its left edge). Subclasses create their controls at the design size and call
// placeWindow() from their load step.

#include "windowid.h"
#include "windowmanager.h"

#include <QWidget>
#include <memory>

namespace urbaflux {

struct AppContext;
class clsResize;

class HelpWindow : public QWidget, public Loadable
{
    Q_OBJECT

public:
    HelpWindow(WindowId id, AppContext& context, int designWidthTwips, int designHeightTwips,
               QWidget* parent = nullptr);
    ~HelpWindow() override;

    WindowId windowId() const { return m_id; }
    AppContext& context() const { return m_context; }
    clsResize& resizer() const { return *m_resizer; }

    static int twipsToPixels(int twips);
    static void placeTwips(QWidget* control, int left, int top, int width, int height);

protected:
    // Records the design layout, sizes the window to three quarters of the screen, then gives
    // it its outer size; a left edge of -1 keeps the placement SizeFormToScreen chose.
    void placeWindow(int outerWidthTwips, int outerHeightTwips, int leftTwips = -1);

    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    WindowId m_id;
    AppContext& m_context;
    std::unique_ptr<clsResize> m_resizer;
    int m_outerWidth = 0;  // pixels, 0 until placeWindow
    int m_outerHeight = 0; // pixels
    bool m_outerSizeFixed = false;
};

} // namespace urbaflux

#pragma once

// The frame the five working windows share: placement and size, the menu bar, the 22-position
// toolbar, the command buttons, the step hint `passo`, the background colour command, the context
// help, the help links and the exit. Each working window derives from WindowFrame, puts its own
// controls into body() and overrides the operations the frame dispatches to; an operation a
// window does not have does nothing.
//
// Geometry of the window's own controls is designed in twips (15 twips to a device-independent
// pixel, see placeTwips) and followed proportionally by the resizer when the window is resized.
// At the design size of 9600 x 6825 twips outside, body() is about 9600 x 5200 twips; it is
// recorded by captureLayout() (run by runLoad after onLoad when the window did not call it).
// The close box unloads the window through the manager; Ctrl+A to Ctrl+E win over text boxes.

#include "appcontext.h"
#include "windowid.h"

#include <QColor>
#include <QMainWindow>
#include <QString>
#include <QStringList>

class QAction;
class QLabel;
class QMenu;
class QPushButton;

namespace urbaflux {

struct ProjectState;
class Prompts;
class WindowManager;
class clsResize;

class WindowFrame : public QMainWindow
{
    Q_OBJECT

public:
    // Command buttons of the row at the bottom; a window has those its id calls for.
    enum class Button
    {
        Aiuto,
        CmdGuida,
        Indietro,
        Avanti,
        CmdEsci
    };

    WindowFrame(WindowId id, AppContext& context, QWidget* parent = nullptr);
    ~WindowFrame() override;

    WindowId windowId() const { return m_id; }
    AppContext& context() const { return m_context; }
    ProjectState& state() const;
    Prompts& prompts() const;
    WindowManager& windows() const;

    // The area where the window places its own controls.
    QWidget* body() const;

    QLabel* passo() const;
    void setPasso(const QString& text);
    QString passoText() const;

    int checkOnly() const { return m_checkOnly; }
    void setCheckOnly(int value) { m_checkOnly = value; }

    QPushButton* button(Button which) const;          // null when the window has none
    QAction* toolbarAction(int position) const;       // 1 to 22; null for separators
    QAction* windowMenuAction(WindowId target) const; // the "Fines&tre" item of a window

    // The "Fi&nestra n.X di 5" entry at the right end of the menu bar (the help link).
    QAction* helpLinkAction() const;
    // A menu item by its object name: mnuApri, mnuApriSoloDati, mnuApriTutti, mnuSalva,
    // mnuSalvaNome, mnuSalvaNomeSoloDati, mnuSalvaTutto, mnuElimina, mnuStampa,
    // mnuStampaTutto, mnuStampaSoloDati, mnuEsci, mnuColore, mnuGuida, mnuInforma.
    QAction* menuAction(const QString& objectName) const;
    QMenu* fileMenu() const;
    QMenu* windowsMenu() const;
    QMenu* helpMenu() const;

    // The background of the window's own area (the colour command changes it).
    QColor backgroundColour() const;
    void setBackgroundColour(const QColor& colour);
    // The colour a window has when it is created.
    static QColor designColour(WindowId id);

    // The caption of a working window for the chosen model's label (empty: none chosen yet).
    static QString captionFor(WindowId id, const QString& kindLabel);
    // Sets the caption from the project state's model label.
    void refreshCaption();

    // The frame's own commands, as the menus, toolbar and buttons run them.
    void chooseBackgroundColour();                    // "&Colore di fondo", toolbar 14
    void showContextHelp();                           // "&AIUTO"
    void switchTo(WindowId target, bool totalsFirst); // navigation without validation
    void runToolbar(int position); // a toolbar click, computeAreaTotals first where due

    // Whether a "Fines&tre" item of window `from` runs computeAreaTotals before showing `to`.
    static bool windowsMenuRunsTotals(WindowId from, WindowId to);
    // The "&AIUTO" lines of the frame's windows that keep them here (menu, datiaree, distanze).
    static QStringList defaultContextHelpLines(WindowId id);

    // Geometry in twips (15 per device-independent pixel), as the windows are designed.
    static int twipsToPixels(int twips);
    static void placeTwips(QWidget* control, int left, int top, int width, int height);

    clsResize& resizer() const;

    // Called by the window manager after applyDefaults; the distances window's unit label
    // follows the unit here.
    virtual void defaultsApplied() {}

    // Places the window one eighth in and gives it its outer size of 9600 x 6825 twips; then
    // runs the window's own load step. Called once by the window manager after construction.
    void runLoad();

    // Registers every child of body() with the resizer: call at the end of the window's load
    // step, once its controls exist and are placed in twips.
    void captureLayout();

    // --- Operations the frame dispatches to (names as the program has always called them) ---
    virtual void apri_Click() {}
    virtual void apritutto_Click() {}
    virtual void salva_Click() {}
    virtual void salvanome_Click() {}
    virtual void salvatutto_Click() {}
    virtual void eliminare_click() {}
    virtual void stampa_Click() {}
    virtual void stampatutto_Click() {}
    virtual void solodati_Click() {}
    virtual void avanti_Click() {}
    virtual void indietro_Click(); // default: the previous window of the sequence
    virtual void checkData();      // toolbar 20; default: checkOnly := 1, then avanti_Click
    virtual void clearData() {}    // toolbar 21
    virtual void helpLink();       // the "Fi&nestra n.X di 5" entry
    virtual QStringList contextHelpLines() const
    {
        return defaultContextHelpLines(m_id);
    } // "&AIUTO"

protected:
    // The window's own load step (fields, defaults, hint); runs after the frame is built.
    virtual void onLoad() {}

    // The close box unloads this window only; the others and the project state stay.
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Private;
    WindowId m_id;
    AppContext& m_context;
    int m_checkOnly = 0;
    Private* d = nullptr;
};

} // namespace urbaflux

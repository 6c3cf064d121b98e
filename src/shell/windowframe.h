#pragma once

// The frame the five working windows share: placement and size, the menu bar, the 22-position
// toolbar, the command buttons, the step hint `passo`, the background colour command, the context
// help, the help links and the exit. The frame knows nothing of any particular window: each
// working window hands it one WindowFacts (caption, colour, help lines and page, buttons, back
// target, file menu shape, which commands compute the totals first) in its constructor, puts its
// own controls into body() and overrides the operations the frame dispatches to; an operation a
// window does not have does nothing.
//
// Geometry of the window's own controls is designed in twips (15 twips to a device-independent
// pixel, see placeTwips) and followed proportionally by the resizer when the window is resized.
// At the design size of 9600 x 6825 twips outside, body() is about 9600 x 5200 twips; it is
// recorded by captureLayout() (run by runLoad after onLoad when the window did not call it).
// The close box unloads the window through the manager; Ctrl+A to Ctrl+E win over text boxes.

#include "appcontext.h"
#include "titlepage.h"
#include "windowid.h"
#include "windowmanager.h"

#include <QColor>
#include <QList>
#include <QMainWindow>
#include <QString>
#include <QStringList>
#include <optional>

class QAction;
class QLabel;
class QMenu;
class QPushButton;

namespace urbaflux {

struct ProjectState;
class Prompts;
class WindowManager;
class clsResize;

// Command buttons of the row at the bottom, in the order they stand.
enum class FrameButton
{
    Aiuto,
    CmdGuida,
    Indietro,
    Avanti,
    CmdEsci
};

// What a working window tells the frame about itself. Each window defines its own in its own
// file (Menu::facts() and so on); the frame reads nothing else to decide how the window looks.
struct WindowFacts
{
    WindowId id = WindowId::Menu;
    QString objectName; // "menu", "datiaree"...
    // The caption: fixed, or `modelCaption` followed by the model label and ")" once a model
    // is chosen (the sentence that no model is chosen yet before).
    QString fixedCaption;
    QString modelCaption;
    QColor designColour;
    QStringList contextHelp; // "&AIUTO", joined by carriage returns
    // "Fi&nestra n.%1 di %2": its caption, which the frame completes with the window's place
    // in the sequence and the number of working windows (the registry's), and the page it
    // opens, either one page or one per model kind 1 to 3 (nothing while no model is chosen).
    QString helpLinkCaption;
    QList<WindowId> helpPages;
    // The buttons of the row; a window with " A&vanti" checks its data (toolbar 20) by running
    // it with checkOnly set; the others check nothing unless they override checkData().
    QList<FrameButton> buttons;
    std::optional<WindowId> backTarget; // "&Indietro"; none: the button does nothing
    // The File menu: "&Apri..." with "&tutti i dati", the first separator after "&Apri...",
    // "Salva con &nome..." with "&tutti i dati", "S&tampa" with "&intera relazione" (which
    // toolbar position 6 then runs).
    bool openAllData = false;
    bool separatorAfterOpen = true;
    bool saveAllData = false;
    bool printWholeReport = false;
    QString printTip = QStringLiteral("stampa dati finestra"); // toolbar position 6
    QString colourCaption = QStringLiteral("&Colore di fondo");
    // The windows whose "Fines&tre" item computes the area totals first, and whether every
    // toolbar button does.
    QList<WindowId> totalsBeforeShowing;
    bool toolbarComputesTotals = true;
    // The windows the grey question of the colour command turns grey; empty: no question.
    QList<WindowId> greyTogether;
};

class WindowFrame : public QMainWindow, public Loadable
{
    Q_OBJECT

public:
    using Button = FrameButton;

    WindowFrame(const WindowFacts& facts, AppContext& context, QWidget* parent = nullptr);
    ~WindowFrame() override;

    WindowId windowId() const { return m_facts.id; }
    const WindowFacts& facts() const { return m_facts; }
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
    // The caption of a working window for the chosen model's label (empty: none chosen yet).
    static QString captionFor(const WindowFacts& facts, const QString& kindLabel);
    // Sets the caption from the project state's model label.
    void refreshCaption();

    // The frame's own commands, as the menus, toolbar and buttons run them.
    void chooseBackgroundColour();                    // "&Colore di fondo", toolbar 14
    void showContextHelp();                           // "&AIUTO"
    void switchTo(WindowId target, bool totalsFirst); // navigation without validation
    void runToolbar(int position); // a toolbar click, computeAreaTotals first where due

    // Whether this window's "Fines&tre" item of `to` runs computeAreaTotals before showing it.
    bool windowsMenuRunsTotals(WindowId to) const;

    // Geometry in twips (15 per device-independent pixel, rounded), as the windows are designed.
    static int twipsToPixels(int twips);
    static void placeTwips(QWidget* control, int left, int top, int width, int height);

    clsResize& resizer() const;

    // Called by the window manager after applyDefaults, for every loaded window, before the
    // change is announced: the model-choice window puts back what its boxes show.
    virtual void defaultsApplied() {}

    // Places the window one eighth in and gives it its outer size of 9600 x 6825 twips; then
    // runs the window's own load step. Called once by the window manager after construction.
    void runLoad() override;

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
    virtual void indietro_Click(); // default: the back target of the facts
    virtual void checkData();      // toolbar 20; default: checkOnly := 1, then avanti_Click
    virtual void clearData() {}    // toolbar 21
    virtual void helpLink();       // the "Fi&nestra n.X di 5" entry
    virtual QStringList contextHelpLines() const { return m_facts.contextHelp; } // "&AIUTO"
    // A complete archive brought the texts of a title page: the title-page window shows them.
    virtual void titlePageRead(const TitlePage& page) { Q_UNUSED(page) }
    // Pairs were read elsewhere (the interactions archive): the distances grid shows them from
    // its first row.
    virtual void showFromFirstRow() {}
    // The previous window's " A&vanti" is about to show this one: the charts window draws its
    // bar chart of the largest interactions first.
    virtual void enteredByAvanti() {}
    // The chart shown, written to the picture file the report and the chart printout share;
    // false with the reason when the window has no chart or the file cannot be written.
    virtual bool writeChartPicture(QString* error)
    {
        Q_UNUSED(error)
        return false;
    }

protected:
    // The window's own load step (fields, defaults, hint); runs after the frame is built.
    virtual void onLoad() {}

    // After the window wrote the data (typing, paste, an archive read through a function that
    // does not announce it): one announcement for the whole action, which this window too
    // receives in dataChanged with own set.
    void markChanged();
    // The data changed, by this window (own) or by anything else: a window that shows the
    // state brings what it shows up to date. The caption follows the model before this runs.
    virtual void dataChanged(bool own) { Q_UNUSED(own) }

    // The close box unloads this window only; the others and the project state stay.
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Private;
    const WindowFacts m_facts;
    AppContext& m_context;
    int m_checkOnly = 0;
    bool m_ownChange = false;
    Private* d = nullptr;
};

} // namespace urbaflux

#pragma once

// One elaboration for the distances window tests, with its own state, prompts, window manager
// and document recorder. The distances window is made by the manager as in the program; the
// area and charts windows are bare frames unless the test brings its own charts window.
// Also the accessors of the window's rows by control name and the way a user types into them.

#include "distanze.h"
#include "documentrecorder.h"
#include "scriptedprompts.h"
#include "statenotifier.h"
#include "windowfactory.h"
#include "windowframe.h"
#include "windowmanager.h"

#include <numbertext.h>
#include <projectstate.h>

#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QStringList>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>

namespace urbaflux {

struct DistancesHarness
{
    using ChartsMaker = QWidget* (*)(WindowId, AppContext&);

    ProjectState state;
    StateNotifier notifier;
    ScriptedPrompts prompts;
    WindowManager manager;
    DocumentRecorder documents;
    AppContext context{state, prompts, manager, documents};

    explicit DistancesHarness(ChartsMaker charts = nullptr)
    {
        applyDefaults(state);
        state.notifier = &notifier;
        manager.setContext(&context);
        manager.setRegistry(&windowRegistry());
        manager.setFactory([charts](WindowId id, AppContext& ctx) -> QWidget* {
            if (id == WindowId::Distanze)
                return new Distanze(ctx);
            if (id == WindowId::Grafici && charts)
                return charts(id, ctx);
            if (id == WindowId::DatiAree || id == WindowId::Grafici)
                return new WindowFrame(windowFacts(id), ctx);
            return nullptr;
        });
    }
    ~DistancesHarness()
    {
        for (WindowId id : {WindowId::Distanze, WindowId::DatiAree, WindowId::Grafici})
            delete manager.existing(id);
    }
    DistancesHarness(const DistancesHarness&) = delete;
    DistancesHarness& operator=(const DistancesHarness&) = delete;

    Distanze* window() { return manager.touchAs<Distanze>(WindowId::Distanze); }

    // N areas with names A1, A2..., the given origins and destinations, the pair list built as
    // the area window's "Avanti" builds it (weights the number 100, distances untouched).
    void setAreas(int kind, const QStringList& origins, const QStringList& destinations)
    {
        state.model.kind = static_cast<qint16>(kind);
        state.model.kindLabel = modelKindLabel(kind);
        const int n = static_cast<int>(origins.size());
        state.areas.count = n;
        for (int i = 1; i <= n; ++i) {
            state.areas.name[i] = QStringLiteral("A%1").arg(i);
            state.areas.origin[i] = origins[i - 1];
            state.areas.destination[i] = destinations[i - 1];
        }
        computeAreaTotals(state);
        buildPairList(state);
        markInputsChanged(state);
    }
    // N areas whose origins and destinations are all `value`.
    void setAreas(int kind, int n, const QString& value)
    {
        const QStringList values(n, value);
        setAreas(kind, values, values);
    }
};

template <typename T> T* child(QWidget* window, const QString& name)
{
    T* found = window->findChild<T*>(name);
    if (!found)
        qWarning("no control %s", qPrintable(name));
    return found;
}

inline QLineEdit* distanza(QWidget* w, int row)
{
    return child<QLineEdit>(w, QStringLiteral("distanza_%1").arg(row));
}
inline QLineEdit* p100(QWidget* w, int row)
{
    return child<QLineEdit>(w, QStringLiteral("p100_%1").arg(row));
}
inline QScrollBar* arrows(QWidget* w, int row)
{
    return child<QScrollBar>(w, QStringLiteral("HScroll1_%1").arg(row));
}
inline QString labelText(QWidget* w, const QString& name, int row)
{
    QLabel* label = child<QLabel>(w, QStringLiteral("%1_%2").arg(name).arg(row));
    return label ? label->text() : QString();
}
inline QString interazioni(QWidget* w, int row)
{
    return labelText(w, QStringLiteral("interazioni"), row);
}

// Replaces what a box shows by typing, as a user selecting the text and typing over it.
inline void typeInto(QLineEdit* box, const QString& text)
{
    box->setFocus();
    box->selectAll();
    if (text.isEmpty())
        QTest::keyClick(box, Qt::Key_Delete);
    else
        QTest::keyClicks(box, text);
}

// Clicks one part of a scroll bar (an arrow, the track) where the style draws it.
inline void clickPart(QScrollBar* bar, QStyle::SubControl part)
{
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.orientation = bar->orientation();
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = bar->sliderPosition();
    option.sliderValue = bar->value();
    option.singleStep = bar->singleStep();
    option.pageStep = bar->pageStep();
    option.subControls = QStyle::SC_All;
    const QRect rect = bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, part, bar);
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, rect.center());
}

} // namespace urbaflux

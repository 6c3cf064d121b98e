#pragma once

// Elaborations for the report's tests and benchmark: N areas with their values, every pair with
// a distance, computed as the distances window computes them.

#include "../support/samplestate.h"

#include <calculation.h>
#include <modelkind.h>
#include <projectstate.h>
#include <titlepage.h>

#include <QString>
#include <cstdlib>
#include <memory>

namespace urbaflux::samples {

inline std::unique_ptr<ProjectState> elaboration(int areas, int kind = 1)
{
    return SampleState(areas, kind)
        .defaults()
        .types(QStringLiteral("residenti"), QStringLiteral("posti di lavoro"))
        .names([](int i) { return QStringLiteral("Quartiere %1").arg(i); })
        .origins([](int i) { return QString::number(100 + (i * 37) % 400); })
        // The origins in reverse order: equal totals, as the doubly constrained model needs.
        .destinations(
            [areas](int i) { return QString::number(100 + ((areas + 1 - i) * 37) % 400); })
        .distances([](int i, int j) {
            return QString::number(0.5 + std::abs(i - j) * 1.25 + (i * j) % 7 * 0.1);
        })
        .calculated();
}

inline TitlePage titlePage(const QString& committente = QStringLiteral("Comune di Lucca"))
{
    TitlePage page;
    page.progetto = QStringLiteral("Piano dei servizi");
    page.localita = QStringLiteral("Lucca e frazioni");
    page.tipostudio = QStringLiteral("analisi urbanistica periodo estivo");
    page.fornituradati = QStringLiteral("Ufficio statistica");
    page.committente = committente;
    page.luogo = QStringLiteral("Pisa");
    page.data = QStringLiteral("mercoledì, 9 dic 2026");
    page.allegati = QStringLiteral("planimetrie, foto");
    return page;
}

} // namespace urbaflux::samples

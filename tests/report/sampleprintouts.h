#pragma once

// The three window printouts of an elaboration with realistic, long area names ("Santa Maria
// delle Grazie 106"), shared by the tests that compare page counts with LibreOffice and by
// the tool that does it at 180 areas.

#include "areasprintout.h"
#include "distancesprintout.h"
#include "document.h"
#include "modelchoiceprintout.h"

#include "../support/samplestate.h"

#include <modelkind.h>
#include <numbertext.h>
#include <projectstate.h>

#include <QString>
#include <memory>
#include <utility>
#include <vector>

namespace urbaflux::samples {

inline std::unique_ptr<ProjectState> elaboration(int areas)
{
    static const char16_t* const places[] = {u"Santa Maria delle Grazie",
                                             u"San Giovanni in Laterano",
                                             u"Borgo San Lorenzo",
                                             u"Quartiere Fieramosca",
                                             u"Villaggio Olimpico",
                                             u"Centro storico",
                                             u"Porta Romana",
                                             u"Valle dell'Aniene",
                                             u"Zona industriale Nord"};
    return SampleState(areas, 1)
        .types(QStringLiteral("residenti"), QStringLiteral("posti di lavoro"),
               QStringLiteral("spostamenti casa-lavoro"), QStringLiteral("km"))
        .names([](int i) {
            return QString::fromUtf16(places[(i - 1) % 9]) + QStringLiteral(" %1").arg(i + 99);
        })
        .origins([](int i) { return QString::number(1000 + (i * 7919) % 90000); })
        .destinations([](int i) { return QStringLiteral("%1.50").arg(800 + (i * 104729) % 70000); })
        .distances([](int i, int j) {
            return i == j ? QStringLiteral("0.5") : QString::number(1 + (i * 37 + j * 11) % 480);
        })
        .weights([](int i, int j) -> std::optional<FieldValue> {
            if ((i + j) % 17 == 0)
                return FieldValue::fromText(QStringLiteral("75"));
            return std::nullopt;
        })
        // Printed as they stand: no run, no total.
        .interactions(
            [areas](int k) {
                const int i = (k - 1) / areas + 1;
                const int j = (k - 1) % areas + 1;
                return static_cast<float>(98765.4321 / (1 + (i * 13 + j * 7) % 997));
            },
            0.0)
        .build();
}

// The printouts of the model-choice, area and distances windows, named.
inline std::vector<std::pair<QString, std::unique_ptr<Document>>>
windowPrintouts(const ProjectState& state)
{
    std::vector<std::pair<QString, std::unique_ptr<Document>>> result;
    ModelChoiceScreen model;
    model.alpha = QStringLiteral("2");
    model.tolerance = QStringLiteral("0.001");
    model.unit = QStringLiteral("km");
    model.memo = QStringLiteral(
        "la quantità della generazione è vincolata ai valori immessi per l'origine; i dati "
        "relativi alla destinazione sono stime libere, ma proporzionali alla realtà delle zone");
    result.emplace_back(QStringLiteral("scelta"), printModelChoice(state, model));
    AreasScreen areas;
    areas.originsTotal = QStringLiteral("4567890");
    areas.destinationsTotal = QStringLiteral("3456789.50");
    areas.explanation =
        QStringLiteral("Per ogni area si indichino il nome, il valore dell'origine e quello della "
                       "destinazione; i totali sono calcolati mentre si scrive.");
    result.emplace_back(QStringLiteral("aree"), printAreas(state, areas));
    result.emplace_back(QStringLiteral("distanze"), printDistances(state, QStringLiteral("km")));
    return result;
}

} // namespace urbaflux::samples

#pragma once

// The six fixed paragraphs of the full report (sections A to D). Their wording lives in
// reporttexts.cpp and nowhere else: that is the file to edit to change what the report says.

#include <QString>

namespace urbaflux {

// A) Criteri adottati nel calcolo
QString reportTextA();
// B) Modello utilizzato, for a model code: B2 for the destination-constrained model (2), B3 for
// the origin-constrained one (3), B1 for the doubly constrained model and for any other code,
// an elaboration without a model included.
QString reportTextB(int kind);
QString reportTextB1();
QString reportTextB2();
QString reportTextB3();
// C) La distanza
QString reportTextC();
// D) Uso del modello
QString reportTextD();

} // namespace urbaflux

#pragma once

// Advance widths of the faces a reader may draw a document with, for the machines where one
// of them is not installed (and for batch runs, which have no fonts to measure): the printable
// characters of Latin-1, in thousandths of an em, read from the faces' own metrics.

#include <QString>

namespace urbaflux {

struct FaceAdvances
{
    const char* family;
    bool bold;
    const short* values; // U+0020 to U+007E, then U+00A0 to U+00FF

    // In ems; a character outside the table takes the widest advance of the face.
    double advance(char16_t c) const;
};

// The table of a face by its family name, or null when the source holds none.
const FaceAdvances* faceAdvances(const QString& family, bool bold);

} // namespace urbaflux

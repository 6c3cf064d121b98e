#pragma once

// The GIS commands of the working windows, one function each, so that the windows add a menu
// item and call them: zones from a layer (and the sample study) in the area window, a distance
// matrix and the export for a GIS in the distances window. Each writes the state only when its
// read succeeded, then shows the state again in the windows that are open.

#include <QString>

class QMenu;

namespace urbaflux {

class WindowFrame;

// "Importa zone da file GIS...": a file, then the import dialog.
void importZonesFromGis(WindowFrame& window);
// "Apri lo studio di esempio": the sample region shipped with the program, with its names,
// populations and jobs, without questions.
void openSampleStudy(WindowFrame& window);
// "Importa distanze da file...".
void importDistanceMatrix(WindowFrame& window);
// "Esporta per GIS...".
void exportStudyForGis(WindowFrame& window);

// Where the sample study is (the program's data folder); empty when it is not installed.
QString sampleStudyPath();

// The items of the area window's and of the distances window's File menu, put before
// "&Elimina..." with a separator after them.
void addZoneMenuItems(WindowFrame& areaWindow);
void addDistanceMenuItems(WindowFrame& distancesWindow);

} // namespace urbaflux

// urbaflux-calc: the batch calculator. Each command lives in its own file; this list is what
// the command line offers (see commandline.h for adding one).
//
// Exit status: 0 the command completed; 1 it did not (the reason on standard error); 2 an input
// was refused; 64 wrong usage; 73 an output could not be written; 74 the report could not be
// written.

#include "calculationcommand.h"
#include "calibrationcommand.h"
#include "commandline.h"
#include "scenariocommands.h"
#include "zonecommand.h"

using namespace urbaflux;

int main(int argc, char* argv[])
{
    return runCommandLine(argc, argv,
                          {
                              calibrationCommand(),
                              zoneCommand(),
                              distanceMatrixCommand(),
                              mapCommand(),
                              comparisonCommand(),
                              // The default, when no other command is chosen: keep it last.
                              calculationCommand(),
                          });
}

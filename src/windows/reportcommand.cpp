#include "reportcommand.h"

namespace urbaflux {

// The report itself comes with the full-report work; the title-page window already calls here.
void printReport(WindowFrame& /*titleWindow*/, const TitlePage& /*texts*/) {}

} // namespace urbaflux

#include "lut/AdvancedColour.h"

bool InHdrMode(const AdvancedColourAnswers& answers)
{
    // The newer query tells HDR from wide colour on an SDR display; the older one can
    // only say so through the enforced flag, which Windows sets when it turns advanced
    // colour on for wide colour alone. A display that neither query answers for
    // (Windows before advanced colour, Wine) is SDR.
    if (answers.activeMode)
        return *answers.activeMode == AdvancedColourMode::Hdr;
    if (answers.state)
        return answers.state->enabled && !answers.state->wideColourEnforced && !answers.state->forceDisabled;
    return false;
}

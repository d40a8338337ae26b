// The outcome texts, in code order.
#include "base/outcome.h"

#include <iterator>

namespace {
#define VORMELIN_OUTCOME_TEXT(code, severity, text) text,
const char* const outcomeTexts[] = {VORMELIN_OUTCOMES(VORMELIN_OUTCOME_TEXT)};
#undef VORMELIN_OUTCOME_TEXT
#define VORMELIN_OUTCOME_SEVERITY(code, severity, text) severity,
const OutcomeSeverity outcomeSeverities[] = {VORMELIN_OUTCOMES(VORMELIN_OUTCOME_SEVERITY)};
#undef VORMELIN_OUTCOME_SEVERITY
} // namespace

const char* outcomeText(Outcome outcome)
{
    const int i = static_cast<int>(outcome);
    return i >= 0 && i < static_cast<int>(std::size(outcomeTexts)) ? outcomeTexts[i] : "";
}

OutcomeSeverity outcomeSeverity(Outcome outcome)
{
    const int i = static_cast<int>(outcome);
    return i >= 0 && i < static_cast<int>(std::size(outcomeSeverities)) ? outcomeSeverities[i] : severityRefusal;
}

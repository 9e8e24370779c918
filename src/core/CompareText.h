// Two configurations compared in words, as the compare window lists them and its
// Save button and "corvane-cli compare" write them: grouped, "old → new", with a
// count per group.
#pragma once

#include "core/FieldTable.h"

#include <QString>
#include <vector>

namespace fields
{

// "Compare A with B".
QString comparisonTitle(const QString &beforeTitle, const QString &afterTitle);
// "A and B hold the same configuration." or "N difference(s): values in A → values in B."
QString comparisonSummary(int differences, const QString &beforeTitle, const QString &afterTitle);
// "Display configuration 3 (1 difference)".
QString groupHeading(int group, int differences);
// "old → new" for a line that differs, else its value.
QString changeText(const Line &line);

// The title, the summary, then each group of `shown` with its count of `differences`
// and one line per field ("  name: old → new").
QString comparisonText(const std::vector<Line> &shown, const std::vector<Line> &differences, const QString &beforeTitle,
                       const QString &afterTitle);

} // namespace fields

#pragma once

#include <QString>

namespace Text {

// Without the spaces (any Unicode space separator, the ideographic one included) and tabs at both ends;
// line breaks stay.
QString trimmedHorizontally(const QString &text);
// Characters as a reader counts them: a letter with its combining marks, or one emoji, is one.
qsizetype perceivedLength(const QString &text);

} // namespace Text

#pragma once

#include <QString>

namespace Text {

// The value of a hexadecimal digit, or -1 for any other character.
constexpr int hexDigitValue(char32_t c)
{
    if (c >= U'0' && c <= U'9')
        return int(c - U'0');
    if (c >= U'a' && c <= U'f')
        return int(c - U'a' + 10);
    if (c >= U'A' && c <= U'F')
        return int(c - U'A' + 10);
    return -1;
}

// Without the spaces (any Unicode space separator, the ideographic one included) and tabs at both ends;
// line breaks stay.
QString trimmedHorizontally(const QString &text);
// Characters as a reader counts them: a letter with its combining marks, or one emoji, is one.
qsizetype perceivedLength(const QString &text);
// A menu or button text with the mnemonic `letter` marked by "&": before the letter where a Latin text has
// it ("&Quit"), else after the text in brackets, as Chinese menus write it ("退出(&Q)"). A literal "&" is
// doubled first.
QString withMnemonic(const QString &text, QChar letter);
// The text as it is read out, without the mark withMnemonic put in: "退出(&Q)" is "退出", "&Quit" "Quit", and
// a doubled "&" one.
QString withoutMnemonic(const QString &text);

// The order names are listed in, as file browsers list them: by the user's language, letter case ignored,
// runs of digits by their value ("CCA2" before "CCA10"). Negative, zero or positive as a is before, equal
// to or after b. Where the system names no language (the C locale), English rules order the letters.
int standardCompare(const QString &a, const QString &b);

} // namespace Text

#include "TextBridge.h"

#include "AppLanguage.h"
#include "Display.h"
#include "L.h"
#include "Strings.h"

#include <QKeySequence>

namespace {

QString argumentText(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        return QString::number(value.toLongLong());
    case QMetaType::Double: {
        // QML numbers are doubles: whole ones are shown as integers, as a C++ caller passing an int would.
        const double number = value.toDouble();
        if (number == double(qint64(number)))
            return QString::number(qint64(number));
        return Text::describe(number);
    }
    default:
        return value.toString();
    }
}

std::optional<double> optionalNumber(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return std::nullopt;
    bool ok = false;
    const double number = value.toDouble(&ok);
    return ok ? std::optional(number) : std::nullopt;
}

} // namespace

QString TextLookup::t(const QString &key, const QVariantList &arguments) const
{
    QStringList texts;
    texts.reserve(arguments.size());
    for (const QVariant &argument : arguments)
        texts.append(argumentText(argument));
    return Text::substitute(Text::lookup(key), texts);
}

QString TextLookup::mnemonic(const QString &text, const QString &letter) const
{
    return letter.isEmpty() ? text : Text::withMnemonic(text, letter.at(0));
}

QString TextLookup::language() const { return AppLanguage::current(); }

QString TextLookup::languageName() const { return AppLanguage::currentName(); }

QString DisplayFormat::dateTime(const QVariant &unixTime) const
{
    return Display::dateTime(optionalNumber(unixTime));
}

QString DisplayFormat::duration(const QVariant &minutes) const
{
    return Display::duration(optionalNumber(minutes));
}

QString DisplayFormat::missing() const { return Display::missing; }

QString DisplayFormat::shortcut(const QVariant &sequence) const
{
    bool standard = false;
    const int key = sequence.typeId() == QMetaType::QString ? 0 : sequence.toInt(&standard);
    const QKeySequence keys =
        standard ? QKeySequence(QKeySequence::StandardKey(key)) : QKeySequence(sequence.toString());
    return keys.toString(QKeySequence::NativeText);
}

#include "command_line.h"

namespace vakuro {

QString joinArguments(const QStringList& arguments) {
    QStringList parts;
    for (const QString& a : arguments) {
        // An empty argument stays visible as "", so that the switch before it
        // gets an empty value instead of the next switch.
        parts << (a.isEmpty() || a.contains(QLatin1Char(' ')) ? QLatin1Char('"') + a + QLatin1Char('"') : a);
    }
    return parts.join(QLatin1Char(' '));
}

namespace {

const QStringList kSwitches = {QStringLiteral("/S"), QStringLiteral("/T"), QStringLiteral("/F"), QStringLiteral("/A")};

// The position of the switch key in the upper-cased line where it stands as
// a word of its own, searching from `from`; -1 when it does not.
qsizetype findSwitch(const QString& upper, const QString& key, qsizetype from = 0) {
    for (; (from = upper.indexOf(key, from)) >= 0; ++from) {
        const bool startsWord = from == 0 || upper.at(from - 1) == QLatin1Char(' ');
        const qsizetype end = from + key.size();
        const bool endsWord = end == upper.size() || upper.at(end) == QLatin1Char(' ');
        if (startsWord && endsWord) return from;
    }
    return -1;
}

}  // namespace

QString switchValue(const QString& line, const QString& switchText) {
    const QString upper = line.toUpper();
    const qsizetype at = findSwitch(upper, switchText.toUpper());
    if (at < 0) return QString();
    const QString rest = line.mid(at + switchText.size()).trimmed();
    // A switch without a value never takes the next switch as its value.
    for (const QString& other : kSwitches) {
        if (findSwitch(rest.toUpper(), other) == 0) return QString();
    }
    if (rest.startsWith(QLatin1Char('"'))) {
        const qsizetype close = rest.indexOf(QLatin1Char('"'), 1);
        return close < 0 ? QString() : rest.mid(1, close - 1);
    }
    const qsizetype blank = rest.indexOf(QLatin1Char(' '));
    return blank < 0 ? rest : rest.left(blank);
}

CommandLine parseCommandLine(const QString& line) {
    if (line.trimmed().isEmpty()) return {};
    return {switchValue(line, QStringLiteral("/S")), switchValue(line, QStringLiteral("/T")),
            switchValue(line, QStringLiteral("/F")), switchValue(line, QStringLiteral("/A"))};
}

}  // namespace vakuro

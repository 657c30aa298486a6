#include "command_line.h"

namespace vakuro {

QString joinArguments(const QStringList& arguments) {
    QStringList parts;
    for (const QString& a : arguments) {
        parts << (a.contains(QLatin1Char(' ')) ? QLatin1Char('"') + a + QLatin1Char('"') : a);
    }
    return parts.join(QLatin1Char(' '));
}

QString switchValue(const QString& line, const QString& switchText) {
    const QString upper = line.toUpper();
    const QString key = switchText.toUpper();
    qsizetype at = -1;
    for (qsizetype from = 0; (from = upper.indexOf(key, from)) >= 0; ++from) {
        const bool startsWord = from == 0 || upper.at(from - 1) == QLatin1Char(' ');
        const qsizetype end = from + key.size();
        const bool endsWord = end == upper.size() || upper.at(end) == QLatin1Char(' ');
        if (startsWord && endsWord) {
            at = from;
            break;
        }
    }
    if (at < 0) return QString();
    const QString rest = line.mid(at + key.size()).trimmed();
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

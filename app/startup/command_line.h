// The program's command line: "/S value", "/T text", "/F file" and
// "/A file" (animated GIF output).
#pragma once

#include <QString>
#include <QStringList>

namespace vakuro {

struct CommandLine {
    QString s;  // "/S": asks for batch output with the stored text and file name
    QString t;  // "/T": the text
    QString f;  // "/F": the output file
    QString a;  // "/A": the animated GIF file

    // Any non-empty value runs one file output without the main window's user.
    bool requestsBatch() const { return !s.isEmpty() || !t.isEmpty() || !f.isEmpty() || !a.isEmpty(); }
};

// The command line as one line: the arguments joined by blanks, an argument
// that is empty or holds a blank enclosed in double quotes.
QString joinArguments(const QStringList& arguments);

// The value of a switch ("/S", "/T", "/F" or "/A"): after its first occurrence
// (any case), blanks trimmed; a value starting with a double quote runs to
// the next one (empty without it); otherwise to the first blank. A switch
// counts only at the start of the line or after a blank and followed by a
// blank or the end, so that "/t" inside a path like "/tmp/a.gif" is not
// taken for a switch. A switch followed directly by another switch has an
// empty value: "/T /F out.gif" gives "/T" nothing and "/F" out.gif.
QString switchValue(const QString& commandLine, const QString& switchText);

CommandLine parseCommandLine(const QString& commandLine);

}  // namespace vakuro

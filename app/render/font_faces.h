// The font faces the program offers: fontconfig's installed families, each
// under the name Japanese users know it by.
#pragma once

#include <functional>

#include <QList>
#include <QString>
#include <QStringList>

#include "library_binding.h"

namespace vakuro {

struct FontFace {
    // The name shown in the font list and stored in a style: the family's
    // Japanese name where the font has one ("IPA明朝"), else its first
    // family name ("IPAMincho").
    QString name;
    // Every family name of the face, in fontconfig's order ("IPAMincho",
    // "IPA明朝"); a style storing any of them selects the face.
    QStringList families;
    // The face covers Japanese (fontconfig language "ja").
    bool japanese = false;
};

// The installed scalable faces, one entry per family, sorted by name.
// fontconfig's generic aliases ("Sans Serif", "Serif", "Monospace", ...)
// name no face and are left out.
QList<FontFace> installedFontFaces();

// The name (as installedFontFaces() gives it) of the installed face that has
// `family` among its family names, compared without regard to case; empty
// when no installed face has that name.
QString installedFaceName(const QString& family);

// The shown name of a face with these family names and their languages
// (parallel lists, a language may be empty): the first name whose language
// is Japanese, else the first name.
QString shownFaceName(const QStringList& families, const QStringList& languages);

// True for fontconfig's generic family aliases, which name no face.
bool isGenericFamily(const QString& family);

// The installed face that the engine puts in for a face name of another
// system ("ＭＳ 明朝"); empty when it puts in none.
QString faceStandIn(const Libraries& libraries, const QString& face);

// The entries of the font list: every face, or with the Japanese-fonts-only
// option the faces covering Japanese and those whose name holds one of the
// words that keep a face ("ＭＳ", "MS UI", "Tahoma", "Unicode",
// "Microsoft Sans").
QStringList fontListNames(const QList<FontFace>& faces, bool japaneseOnly);

// The entry of the font list that a stored face name selects: the entry of
// that name, else the entry of the face that has it as another family name
// ("IPAMincho" selects "IPA明朝" and the other way round), else the entry
// of the installed face that stands in for a face of another system (found
// by `standIn`, which returns an empty name when there is none). Empty when
// nothing matches.
QString listedFaceName(const QStringList& list, const QList<FontFace>& faces, const QString& face,
                       const std::function<QString(const QString&)>& standIn);

}  // namespace vakuro

#include "font_faces.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <memory>

#include "cp932_qstring.h"

namespace vakuro {
namespace {

struct PatternDeleter {
    void operator()(FcPattern* p) const { FcPatternDestroy(p); }
};
struct ObjectSetDeleter {
    void operator()(FcObjectSet* o) const { FcObjectSetDestroy(o); }
};
struct FontSetDeleter {
    void operator()(FcFontSet* s) const { FcFontSetDestroy(s); }
};
using Pattern = std::unique_ptr<FcPattern, PatternDeleter>;
using ObjectSet = std::unique_ptr<FcObjectSet, ObjectSetDeleter>;
using FontSet = std::unique_ptr<FcFontSet, FontSetDeleter>;

QStringList stringValues(FcPattern* font, const char* object) {
    QStringList values;
    FcChar8* value = nullptr;
    for (int i = 0; FcPatternGetString(font, object, i, &value) == FcResultMatch; ++i)
        values << QString::fromUtf8(reinterpret_cast<const char*>(value));
    return values;
}

FontFace faceOf(FcPattern* font) {
    FontFace face;
    face.families = stringValues(font, FC_FAMILY);
    face.name = shownFaceName(face.families, stringValues(font, FC_FAMILYLANG));
    FcLangSet* languages = nullptr;
    if (FcPatternGetLangSet(font, FC_LANG, 0, &languages) == FcResultMatch) {
        face.japanese = FcLangSetHasLang(languages, reinterpret_cast<const FcChar8*>("ja")) != FcLangDifferentLang;
    }
    return face;
}

// The scalable fonts matching the pattern, with the objects named.
FontSet listFonts(FcPattern* pattern, bool withLanguages) {
    if (!FcInit()) return nullptr;
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    ObjectSet objects(withLanguages ? FcObjectSetBuild(FC_FAMILY, FC_FAMILYLANG, FC_LANG, nullptr)
                                    : FcObjectSetBuild(FC_FAMILY, FC_FAMILYLANG, nullptr));
    if (!objects) return nullptr;
    return FontSet(FcFontList(nullptr, pattern, objects.get()));
}

}  // namespace

bool isGenericFamily(const QString& family) {
    static const QStringList kGeneric = {
        QStringLiteral("sans-serif"), QStringLiteral("sans serif"), QStringLiteral("sans"),
        QStringLiteral("serif"),      QStringLiteral("monospace"),  QStringLiteral("mono"),
        QStringLiteral("cursive"),    QStringLiteral("fantasy"),    QStringLiteral("system-ui"),
        QStringLiteral("emoji"),      QStringLiteral("math"),       QStringLiteral("fangsong"),
    };
    return kGeneric.contains(family.trimmed(), Qt::CaseInsensitive);
}

QString shownFaceName(const QStringList& families, const QStringList& languages) {
    for (qsizetype i = 0; i < families.size() && i < languages.size(); ++i) {
        if (languages[i].compare(QStringLiteral("ja"), Qt::CaseInsensitive) == 0 ||
            languages[i].startsWith(QStringLiteral("ja-"), Qt::CaseInsensitive))
            return families[i];
    }
    return families.value(0);
}

QList<FontFace> installedFontFaces() {
    QList<FontFace> faces;
    Pattern all(FcPatternCreate());
    if (!all) return faces;
    const FontSet fonts = listFonts(all.get(), true);
    if (!fonts) return faces;
    for (int i = 0; i < fonts->nfont; ++i) {
        FontFace face = faceOf(fonts->fonts[i]);
        if (face.name.isEmpty() || isGenericFamily(face.name)) continue;
        // Several files (weights, styles) share one family: one entry, which
        // covers Japanese when any of its files does.
        const auto same = std::find_if(faces.begin(), faces.end(), [&](const FontFace& f) { return f.name == face.name; });
        if (same != faces.end()) {
            same->japanese = same->japanese || face.japanese;
            for (const QString& family : face.families)
                if (!same->families.contains(family)) same->families << family;
            continue;
        }
        faces << face;
    }
    std::sort(faces.begin(), faces.end(), [](const FontFace& a, const FontFace& b) {
        const int c = a.name.compare(b.name, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a.name < b.name;
    });
    return faces;
}

QString faceStandIn(const Libraries& libraries, const QString& face) {
    const auto bytes = toCp932(face);
    if (!bytes || !libraries.engine.PavrexFaceAlias) return QString();
    char standIn[64] = {};
    if (libraries.engine.PavrexFaceAlias(bytes->constData(), standIn, sizeof standIn) != 1) return QString();
    return fromCp932(QByteArray(standIn));
}

QStringList fontListNames(const QList<FontFace>& faces, bool japaneseOnly) {
    static const QStringList kKeptWords = {QStringLiteral("ＭＳ"), QStringLiteral("MS UI"), QStringLiteral("Tahoma"),
                                           QStringLiteral("Unicode"), QStringLiteral("Microsoft Sans")};
    QStringList names;
    for (const FontFace& face : faces) {
        if (japaneseOnly && !face.japanese &&
            std::none_of(kKeptWords.begin(), kKeptWords.end(), [&](const QString& w) { return face.name.contains(w); }))
            continue;
        names << face.name;
    }
    return names;
}

QString listedFaceName(const QStringList& list, const QList<FontFace>& faces, const QString& face,
                       const std::function<QString(const QString&)>& standIn) {
    auto listed = [&](const QString& name) -> QString {
        if (name.isEmpty()) return QString();
        if (list.contains(name)) return name;
        for (const FontFace& f : faces) {
            if (f.families.contains(name, Qt::CaseInsensitive) && list.contains(f.name)) return f.name;
        }
        return QString();
    };
    const QString own = listed(face.trimmed());
    if (!own.isEmpty() || !standIn) return own;
    return listed(standIn(face.trimmed()));
}

QString installedFaceName(const QString& family) {
    if (family.trimmed().isEmpty() || isGenericFamily(family)) return QString();
    Pattern request(FcPatternCreate());
    if (!request) return QString();
    const QByteArray utf8 = family.toUtf8();
    FcPatternAddString(request.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(utf8.constData()));
    const FontSet fonts = listFonts(request.get(), false);
    if (!fonts) return QString();
    for (int i = 0; i < fonts->nfont; ++i) {
        const FontFace face = faceOf(fonts->fonts[i]);
        if (face.families.contains(family, Qt::CaseInsensitive)) return face.name;
    }
    return QString();
}

}  // namespace vakuro

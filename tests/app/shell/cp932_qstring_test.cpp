#include "cp932_qstring.h"

#include "test_support.h"

#include <gtest/gtest.h>

namespace vakuro {
namespace {

struct EncodeCase {
    const char* name;
    QString text;
    std::optional<QByteArray> bytes;
};

TEST(Cp932, EncodesOrRefusesWholeTexts) {
    const EncodeCase cases[] = {
        {"empty", QString(), QByteArray()},
        {"ascii", QStringLiteral("Ab1 ~\\"), QByteArray("Ab1 ~\\")},
        {"hiragana", QStringLiteral("あ"), QByteArray("\x82\xa0")},
        {"half-width katakana", QStringLiteral("ｱﾞ"), QByteArray("\xb1\xde")},
        {"trail byte 0x5C", QStringLiteral("ソ"), QByteArray("\x83\x5c")},
        {"yen sign shares 0x5C", QStringLiteral("¥"), QByteArray("\x5c")},
        {"full-width tilde", QStringLiteral("～"), QByteArray("\x81\x60")},
        {"wave dash maps to the same byte pair", QStringLiteral("〜"), QByteArray("\x81\x60")},
        {"NEC special character", QStringLiteral("①"), QByteArray("\x87\x40")},
        {"accented letter", QStringLiteral("aé"), std::nullopt},
        {"outside the BMP", QStringLiteral("a😀"), std::nullopt},
        {"hangul", QStringLiteral("한"), std::nullopt},
        {"lone high surrogate", QString(QChar(0xD800)) + u'a', std::nullopt},
        {"lone low surrogate at the end", QString(u'a') + QChar(0xDC00), std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(toCp932(c.text), c.bytes);
    }
}

struct DecodeCase {
    const char* name;
    QByteArray bytes;
    QString text;
};

TEST(Cp932, DecodesWithReplacementCharacters) {
    const QChar bad = QChar::ReplacementCharacter;
    const DecodeCase cases[] = {
        {"empty", QByteArray(), QString()},
        {"mixed", QByteArray("a\x82\xa0\xb1"), QStringLiteral("aあｱ")},
        {"trail byte 0x5C", QByteArray("\x83\x5c"), QStringLiteral("ソ")},
        {"NUL kept", QByteArray("a\0b", 3), QString(u'a') + QChar(u'\0') + u'b'},
        {"unassigned 0x80", QByteArray("a\x80" "b"), QString(u'a') + bad + u'b'},
        {"unassigned 0xFF", QByteArray("\xff"), QString(bad)},
        {"lead byte at the end", QByteArray("a\x82"), QString(u'a') + bad},
        {"lead byte before a blank", QByteArray("\x81 b"), QString(bad) + QStringLiteral(" b")},
        {"long text crosses the buffer", QByteArray(1000, 'x') + QByteArray("\x82\xa0"),
         QString(1000, u'x') + QStringLiteral("あ")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(fromCp932(c.bytes), c.text);
    }
}

TEST(Cp932, NamesEachUnencodableCharacterOnce) {
    const struct {
        QString text;
        QString unencodable;
    } cases[] = {
        {QStringLiteral("文字ｱA"), QString()},
        {QStringLiteral("éaéb€"), QStringLiteral("é€")},
        {QStringLiteral("😀x😀한"), QStringLiteral("😀한")},
        {QString(QChar(0xDC00)) + QStringLiteral("a"), QString(QChar(0xDC00))},
    };
    for (const auto& c : cases) EXPECT_EQ(unencodableCharacters(c.text), c.unencodable) << c.text.toStdString();
}

TEST(Cp932, LossyEncodingDropsUnencodableCharacters) {
    EXPECT_EQ(toCp932Lossy(QStringLiteral("aéあ😀b")), QByteArray("a\x82\xa0" "b"));
    EXPECT_EQ(toCp932Lossy(QStringLiteral("ab")), QByteArray("ab"));
}

// The widths that the padding routines rely on agree with iconv for every
// character of the BMP.
TEST(Cp932, CharacterByteCountsMatchTheEncoding) {
    for (char32_t c = 0; c <= 0xFFFF; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF) continue;
        const QString text(QChar(static_cast<char16_t>(c)));
        const auto bytes = toCp932(text);
        const int expected = bytes ? static_cast<int>(bytes->size()) : 2;
        ASSERT_EQ(cp932CharacterBytes(text, 0), expected) << "U+" << std::hex << static_cast<unsigned>(c);
    }
    int units = 0;
    EXPECT_EQ(cp932CharacterBytes(QStringLiteral("😀"), 0, &units), 2);
    EXPECT_EQ(units, 2);
}

TEST(Cp932, PrefixNeverEndsInsideADoubleByteCharacter) {
    const QByteArray text("a\x82\xa0" "b");
    const struct {
        qsizetype maxBytes;
        qsizetype length;
    } cases[] = {{0, 0}, {1, 1}, {2, 1}, {3, 3}, {4, 4}, {10, 4}};
    for (const auto& c : cases) EXPECT_EQ(cp932PrefixLength(text.constData(), text.size(), c.maxBytes), c.length);
    // A lead byte at the very end counts as one byte.
    EXPECT_EQ(cp932PrefixLength("a\x82", 2, 2), 2);
}

struct FieldCase {
    const char* name;
    QString value;
    int size;
    bool withNul;
    QByteArray field;
};

TEST(Cp932, FixedFieldsAreBlankFilledAndCutWhole) {
    const FieldCase cases[] = {
        {"short", QStringLiteral("AB"), 5, false, QByteArray("AB   ")},
        {"short with NUL", QStringLiteral("AB"), 5, true, QByteArray("AB\0  ", 5)},
        {"exact width: no room for NUL", QStringLiteral("ABCDE"), 5, true, QByteArray("ABCDE")},
        {"too long", QStringLiteral("ABCDEF"), 5, false, QByteArray("ABCDE")},
        {"double-byte fits", QStringLiteral("aあ"), 3, false, QByteArray("a\x82\xa0")},
        {"split double-byte becomes a blank", QStringLiteral("aあ"), 2, false, QByteArray("a ")},
        {"split double-byte leaves room for NUL", QStringLiteral("aあ"), 2, true, QByteArray("a\0", 2)},
        {"unencodable dropped", QStringLiteral("aéb"), 4, false, QByteArray("ab  ")},
        {"empty", QString(), 3, true, QByteArray("\0  ", 3)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QByteArray field(c.size + 2, '#');  // guard bytes on the right
        setFixedField(field.data(), c.size, c.value, c.withNul);
        EXPECT_EQ(field.left(c.size), c.field);
        EXPECT_EQ(field.mid(c.size), QByteArray("##"));
    }
}

TEST(Cp932, FixedFieldsReadUpToNulOrEnd) {
    const struct {
        const char* name;
        QByteArray field;
        QString value;
    } cases[] = {
        {"NUL then garbage", QByteArray("AB  \0xx", 7), QStringLiteral("AB")},
        {"no NUL", QByteArray("AB  "), QStringLiteral("AB")},
        {"leading blanks kept", QByteArray(" A  "), QStringLiteral(" A")},
        {"trail byte 0x5C before blanks", QByteArray("\x83\x5c  "), QStringLiteral("ソ")},
        {"all NUL", QByteArray(4, '\0'), QString()},
        {"all blanks", QByteArray(4, ' '), QString()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // The field is copied so that nothing after it is readable.
        std::vector<char> field(c.field.begin(), c.field.end());
        EXPECT_EQ(readFixedField(field.data(), static_cast<int>(field.size())), c.value);
    }
}

}  // namespace
}  // namespace vakuro

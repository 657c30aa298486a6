#include "shared_routines.h"

#include "test_support.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

namespace vakuro {
namespace {

TEST(SharedRoutines, WithBackslash) {
    const struct {
        QString in, out;
    } cases[] = {{"", ""}, {"a", "a/"}, {"a/", "a/"}, {"/", "/"}, {"/tmp/x", "/tmp/x/"}};
    for (const auto& c : cases) EXPECT_EQ(WithBackslash(c.in), c.out);
}

TEST(SharedRoutines, EnsureFolder) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString nested = dir.filePath(QStringLiteral("a/b"));
    EXPECT_TRUE(EnsureFolder(nested));
    EXPECT_TRUE(QFileInfo(nested).isDir());
    EXPECT_TRUE(EnsureFolder(nested));  // already there
    test::writeBytes(dir.filePath(QStringLiteral("file")), "x");
    EXPECT_FALSE(EnsureFolder(dir.filePath(QStringLiteral("file"))));
    EXPECT_FALSE(EnsureFolder(QString()));
}

TEST(SharedRoutines, CutAtNul) {
    const QString nul(QChar(u'\0'));
    const struct {
        QString in, out;
    } cases[] = {
        {"ab" + nul + "cd", "ab"}, {"  ab  ", "ab"}, {" a b " + nul + " x", "a b"}, {nul, ""},
        {"", ""}, {"\tab\t", "\tab\t"},  // only blanks are removed
    };
    for (const auto& c : cases) EXPECT_EQ(CutAtNul(c.in), c.out);
}

TEST(SharedRoutines, Quote) {
    EXPECT_EQ(Quote(QStringLiteral("a b")), QStringLiteral("'a b'"));
    EXPECT_EQ(Quote(QString()), QStringLiteral("''"));
}

struct PadCase {
    QString text;
    int n;
    QString left, right;
};

TEST(SharedRoutines, PadBytes) {
    const PadCase cases[] = {
        {"ああ", 3, "あ ", " あ"},          // the split character becomes a blank
        {"ああ", 4, "ああ", "ああ"},
        {"ああ", 5, "ああ ", " ああ"},
        {"abc", 5, "abc  ", "  abc"},
        {"abcdef", 3, "abc", "def"},
        {"aあ", 2, "a ", "あ"},
        {"あa", 2, "あ", " a"},
        {"ｱｲｳ", 2, "ｱｲ", "ｲｳ"},             // half-width katakana: one byte each
        {"", 2, "  ", "  "},
        {"a😀", 3, "a😀", "a😀"},           // unencodable: counted as two bytes
        {"a😀", 2, "a ", "😀"},
        {"a😀", 1, "a", " "},
        {"abc", 0, "", ""},
        {"abc", -1, "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString() + " " + std::to_string(c.n));
        EXPECT_EQ(PadBytesLeft(c.text, c.n), c.left);
        EXPECT_EQ(PadBytesRight(c.text, c.n), c.right);
    }
}

TEST(SharedRoutines, ParseInt) {
    const struct {
        QString text;
        int value;
    } cases[] = {
        {"12&", 12},     {"abc", 0},         {"", 0},          {"  42 ", 42},
        {"-7", -7},      {"+7", 7},          {"0", 0},         {"007", 7},
        {"2.5", 2},      {"3.5", 4},         {"2.51", 3},      {"2.4999", 2},
        {"-2.5", -2},    {"-3.5", -4},       {".5", 0},        {"1.", 1},
        {"12&&", 0},     {"&", 0},           {"-", 0},         {".", 0},
        {"1 2", 0},      {"12a", 0},         {"a12", 0},       {"1.5&", 0},
        {"0x10", 0},     {"１２", 0},        {"1e3", 0},
        {"2147483647", INT_MAX},             {"-2147483648", INT_MIN},
        {"99999999999", INT_MAX},            {"-99999999999999999999", INT_MIN},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseInt(c.text), c.value) << c.text.toStdString();
}

TEST(SharedRoutines, ClampMaxMin) {
    const struct {
        int v, low, high, clamped;
    } cases[] = {{5, 0, 10, 5}, {-1, 0, 10, 0}, {11, 0, 10, 10}, {0, 0, 0, 0}, {5, 10, 0, 10}, {-5, 10, 0, 10}};
    for (const auto& c : cases) EXPECT_EQ(Clamp(c.v, c.low, c.high), c.clamped);
    EXPECT_EQ(Max(3, -4), 3);
    EXPECT_EQ(Max(INT_MIN, INT_MAX), INT_MAX);
    EXPECT_EQ(Min(3, -4), -4);
    EXPECT_EQ(Min(7, 7), 7);
}

TEST(SharedRoutines, RoundHalfEven) {
    const struct {
        double v;
        int r;
    } cases[] = {{2.5, 2},   {3.5, 4},    {-2.5, -2},      {-3.5, -4},     {0.5, 0},       {1.5, 2},
                 {0.4999, 0}, {2.5001, 3}, {-0.5, 0},      {1e20, INT_MAX}, {-1e20, INT_MIN}, {NAN, 0}};
    for (const auto& c : cases) EXPECT_EQ(RoundHalfEven(c.v), c.r) << c.v;
}

TEST(SharedRoutines, ColourPart) {
    const int colour = 0x00332211;  // red 0x11, green 0x22, blue 0x33
    const struct {
        int colour, which, part;
    } cases[] = {
        {colour, 1, 0x11}, {colour, 2, 0x22}, {colour, 3, 0x33}, {colour, 4, 0x11 + 0x22 + 0x33},
        {colour, 0, 0},    {colour, 6, 0},    {colour, -1, 0},
        {0x00FFFFFF, 5, 255},  // 76, 226, 255
        {0x00000000, 5, 0},
        {0x000000FF, 5, 76},   // round(76.245)
        {0x00FA0000, 5, 28},   // blue 250: 28.5 goes to the even 28
        {0x00FA0200, 5, 30},   // green 2 gives g' = 1: 29.5 goes to 30
        {0x0000FF00, 5, 150},  // round(149.685)
    };
    for (const auto& c : cases) EXPECT_EQ(ColourPart(c.colour, c.which), c.part) << std::hex << c.colour << " " << c.which;
}

TEST(SharedRoutines, BlendColour) {
    const int a = 0x00FF8040;
    const int b = 0x00102030;
    const struct {
        int a, b;
        double t;
        int result;
    } cases[] = {
        {a, b, -0.5, b},                     // negative weights count as 0
        {a, b, 0.0, b},
        {a, b, 1.0, a},
        {0x000001, 0x000000, 0.5, 0x000000},  // 0.5 goes to 0
        {0x000003, 0x000000, 0.5, 0x000002},  // 1.5 goes to 2
        {0x0000FF, 0x000000, 1.5, 0x0000FF},  // 382.5 clamped, no spill into green
        {0x000000, 0x0000FF, 1.5, 0x000000},  // -127.5 clamped
        {a, b, NAN, b},
    };
    for (const auto& c : cases) EXPECT_EQ(BlendColour(c.a, c.b, c.t), c.result) << c.t;
    EXPECT_EQ(Rgb(80, 100, 140), 0x008C6450);
    EXPECT_EQ(Rgb(-5, 300, 0), 0x0000FF00);
}

TEST(SharedRoutines, TickExtenderKeepsIncreasingAcrossTheWraps) {
    const struct {
        const char* name;
        std::vector<std::uint32_t> raw;
        std::vector<std::int64_t> extended;
    } cases[] = {
        {"passing 2^31", {0x7FFFFFF0u, 0x80000010u}, {0x7FFFFFF0, 0x80000010}},
        {"passing 2^32", {0xFFFFFFF0u, 0x00000010u}, {0xFFFFFFF0, 0x100000010}},
        {"two wraps", {0xFFFFFFFFu, 0u, 0x80000000u, 0xFFFFFFFFu, 1u},
         {0xFFFFFFFF, 0x100000000, 0x180000000, 0x1FFFFFFFF, 0x200000001}},
        {"same tick twice", {5u, 5u}, {5, 5}},
        {"first tick high", {0xF0000000u}, {0xF0000000}},
        {"long gap: any backward step is a wrap", {0x10u, 0x08u}, {0x10, 0x100000008}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TickExtender extender;
        std::int64_t previous = -1;
        for (size_t i = 0; i < c.raw.size(); ++i) {
            const std::int64_t t = extender.extend(c.raw[i]);
            EXPECT_EQ(t, c.extended[i]);
            EXPECT_GE(t, previous);
            previous = t;
        }
    }
    TickExtender seeded(3);
    EXPECT_EQ(seeded.extend(7), (std::int64_t{3} << 32) + 7);
}

TEST(SharedRoutines, TickCountAndWait) {
    const std::int64_t start = TickCount64();
    EXPECT_GT(start, 0);
    for (int ms : {0, -5}) {
        // No wait at all: not even one round of the waiting loop, so an
        // event that is already due is not handled.
        bool fired = false;
        QTimer::singleShot(0, [&] { fired = true; });
        const std::int64_t before = TickCount64();
        const std::int64_t after = Wait(ms, true);
        EXPECT_GE(after, before);
        EXPECT_FALSE(fired) << ms;
        QCoreApplication::processEvents();
        EXPECT_TRUE(fired) << ms;
    }
    const std::int64_t end = Wait(30, false);
    EXPECT_GE(end - start, 30);
    EXPECT_GE(TickCount64(), end);
}

TEST(SharedRoutines, WaitHandlesEventsOnlyWhenAsked) {
    bool fired = false;
    QTimer::singleShot(0, [&] { fired = true; });
    Wait(20, false);
    EXPECT_FALSE(fired);
    const std::int64_t start = TickCount64();
    const std::int64_t end = Wait(20, true);
    EXPECT_TRUE(fired);
    EXPECT_GE(end - start, 20);
}

TEST(SharedRoutines, FormatMessageThreeLineExample) {
    const QString message = FormatMessage(
        QStringLiteral("@文字目のサイズ/位置情報を@文字目にコピーします&＆よろしいですか？"), QVariantList{3, 5});
    const QStringList lines = message.split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0], QStringLiteral("3文字目のサイズ/位置情報を5文字目にコピーします"));
    EXPECT_EQ(lines[1], QString());
    EXPECT_EQ(lines[2], QStringLiteral("\tよろしいですか？"));
}

TEST(SharedRoutines, FormatMessagePlaceholders) {
    const struct {
        QString templ;
        QVariantList args;
        QString result;
    } cases[] = {
        {"$ and @", {QStringLiteral("abc"), 7}, "abc and 7"},
        {"＠行", {12}, "１２行"},
        {"＠", {QStringLiteral("ｶﾞ A")}, "ガ　Ａ"},
        {"@-@-@", {1}, "1--"},  // no argument left: nothing
        {"@", {1, 2}, "1"},
        {"a&b", {}, "a\r\nb"},
        {"100%", {}, "100%"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatMessage(c.templ, c.args), c.result) << c.templ.toStdString();
    EXPECT_EQ(FormatMessage(QStringLiteral("@/$"), QStringList{QStringLiteral("x"), QStringLiteral("y")}),
              QStringLiteral("x/y"));
}

TEST(SharedRoutines, ToFullWidth) {
    const struct {
        QString in, out;
    } cases[] = {
        {"Az09 !~", "Ａｚ０９　！～"},
        {"ｶﾞｷﾞﾊﾟﾎﾟｳﾞ", "ガギパポヴ"},
        {"ｱﾞﾅﾟ", "ア゛ナ゜"},  // no precomposed form: the mark stays a full-width mark
        {"ｰ｡､", "ー。、"},
        {"漢字", "漢字"},
    };
    for (const auto& c : cases) EXPECT_EQ(ToFullWidth(c.in), c.out) << c.in.toStdString();
}

TEST(SharedRoutines, FilterKey) {
    const int keyLeft = 0x01000012;  // Qt::Key_Left
    const struct {
        int key, mode, result;
    } cases[] = {
        {'5', 1, '5'},   {'0', 1, '0'},    {'9', 1, '9'},     {'a', 1, 0},      {8, 1, 8},
        {13, 1, 13},     {0, 1, 0},        {31, 1, 31},       {' ', 1, 0},      {'-', 1, 0},
        {-32096, 1, 0},  {0x3042, 1, 0},   {keyLeft, 1, keyLeft},
        {'a', 2, 'a'},   {' ', 2, ' '},    {8, 2, 8},         {'~', 2, '~'},    {0xFF71, 2, 0xFF71},
        {0x3042, 2, 0},  {-1, 2, 0},       {0xE9, 2, 0},      {0xA5, 2, 0xA5},  {0x1F600, 2, 0},
        {0x110000, 2, 0}, {0xD800, 2, 0},  {keyLeft, 2, keyLeft},
        {0x3042, 0, 0x3042}, {-5, 3, -5},
    };
    for (const auto& c : cases) EXPECT_EQ(FilterKey(c.key, c.mode), c.result) << c.key << " mode " << c.mode;
}

TEST(SharedRoutines, FindListText) {
    const QStringList entries = {QStringLiteral(" Gothic "), QStringLiteral("Mincho"), QStringLiteral("Gothic")};
    QComboBox combo;
    combo.addItems(entries);
    QListWidget list;
    list.addItems(entries);
    const struct {
        QString text;
        int index;
    } cases[] = {{"Gothic", 0}, {"Mincho", 1}, {"gothic", -1}, {" Gothic ", -1}, {"", -1}, {"Brush", -1}};
    for (const auto& c : cases) {
        EXPECT_EQ(FindListText(entries, c.text), c.index) << c.text.toStdString();
        EXPECT_EQ(FindListText(&combo, c.text), c.index) << c.text.toStdString();
        EXPECT_EQ(FindListText(&list, c.text), c.index) << c.text.toStdString();
    }
    EXPECT_EQ(FindListText(static_cast<const QComboBox*>(nullptr), QStringLiteral("x")), -1);
    EXPECT_EQ(FindListText(static_cast<const QListWidget*>(nullptr), QStringLiteral("x")), -1);
}

TEST(SharedRoutines, FindListData) {
    const QVariantList data = {5, 10, 5, QStringLiteral("x")};
    QComboBox combo;
    QListWidget list;
    for (const QVariant& d : data) {
        combo.addItem(d.toString() + QStringLiteral("%"), d);
        auto* item = new QListWidgetItem(d.toString(), &list);
        item->setData(Qt::UserRole, d);
    }
    const struct {
        QVariant value;
        int index;
    } cases[] = {{5, 0}, {10, 1}, {qlonglong(10), 1}, {QStringLiteral("x"), 3}, {7, -1}, {QVariant(), -1}};
    for (const auto& c : cases) {
        EXPECT_EQ(FindListData(data, c.value), c.index) << c.value.toString().toStdString();
        EXPECT_EQ(FindListData(&combo, c.value), c.index) << c.value.toString().toStdString();
        EXPECT_EQ(FindListData(&list, c.value), c.index) << c.value.toString().toStdString();
    }
    EXPECT_EQ(FindListData(static_cast<const QComboBox*>(nullptr), 5), -1);
}

TEST(SharedRoutines, GlyphIndex) {
    const struct {
        QString text;
        int position;
        int glyph;
        bool joined;
    } cases[] = {
        {"ｶﾞｷﾞA", 1, 0, true},   // ｶ with its mark
        {"ｶﾞｷﾞA", 2, 0, false},  // the mark belongs to glyph 0
        {"ｶﾞｷﾞA", 3, 1, true},
        {"ｶﾞｷﾞA", 4, 1, false},
        {"ｶﾞｷﾞA", 5, 2, false},
        {"ｶﾞｷﾞA", 6, 2, false},  // after the end: glyph count - 1
        {"ｶﾞｷﾞA", 99, 2, false},
        {"ｶﾞｷﾞA", 0, 0, false},
        {"Aﾟ", 1, 0, true},      // any half-width character takes the mark
        {"\tﾞ", 1, 0, true},
        {"あﾞ", 1, 0, false},    // a full-width character does not
        {"あﾞ", 2, 1, false},
        {"ﾞﾞﾞ", 1, 0, true},     // a mark is half-width too
        {"ﾞﾞﾞ", 3, 1, false},
        {"文字", 2, 1, false},
        {"😀a", 2, 0, false},    // a surrogate pair is one glyph
        {"😀a", 3, 1, false},
        {"", 1, -1, false},
    };
    for (const auto& c : cases) {
        bool joined = !c.joined;
        EXPECT_EQ(GlyphIndex(c.text, c.position, joined), c.glyph) << c.text.toStdString() << " @" << c.position;
        EXPECT_EQ(joined, c.joined) << c.text.toStdString() << " @" << c.position;
    }
    EXPECT_EQ(GlyphCount(QStringLiteral("ｶﾞｷﾞA")), 3);
    EXPECT_EQ(GlyphCount(QString()), 0);
}

TEST(SharedRoutines, AppVersionText) {
    EXPECT_EQ(AppVersionText(), QStringLiteral("Version " VAKURO_PROJECT_VERSION));
}

TEST(SharedRoutines, FileVersionText) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    auto file = [&](const QString& name) {
        test::writeBytes(dir.filePath(name), "\x7f" "ELF");
        return dir.filePath(name);
    };
    const QString own = QStringLiteral("  " VAKURO_PROJECT_VERSION ".0");
    const QString versioned = file(QStringLiteral("libbar.so.1.2.3.4"));
    ASSERT_TRUE(QFile::link(versioned, dir.filePath(QStringLiteral("libbar.so"))));
    EXPECT_EQ(FileVersionText(dir.filePath(QStringLiteral("libTesmor32.so"))), QStringLiteral("（なし）"));
    const struct {
        QString path, text;
    } cases[] = {
        // The system's libraries give their versions through their exports only.
        {file(QStringLiteral("libTesmor32.so")), QString()},
        {file(QStringLiteral("libPavrex.so")), QString()},
        {file(QStringLiteral("vakuro")), own},
        {file(QStringLiteral("notes.txt")), QString()},
        {file(QStringLiteral("libfoo.so.2.3")), QStringLiteral("  2.3.0.0")},
        {dir.filePath(QStringLiteral("libbar.so")), QStringLiteral("  1.2.3.4")},
        {file(QStringLiteral("libx.so.1.2.3.4.5")), QString()},
        {dir.path(), QString()},
    };
    for (const auto& c : cases) EXPECT_EQ(FileVersionText(c.path), c.text) << c.path.toStdString();

    // With the numbers known (from a library's version export).
    EXPECT_EQ(FileVersionText(file(QStringLiteral("libimgctl.so")), QStringLiteral("1.0.0.0")),
              QStringLiteral("  1.0.0.0"));
    EXPECT_EQ(FileVersionText(dir.filePath(QStringLiteral("libPavrex.so.missing")), QStringLiteral("1.2.1.0")),
              QStringLiteral("（なし）"));
    EXPECT_EQ(FileVersionText(dir.path(), QStringLiteral("1.2.1.0")), QString());
}

TEST(SharedRoutines, VersionNumbers) {
    EXPECT_EQ(ProgramVersionNumbers(), QStringLiteral(VAKURO_PROJECT_VERSION ".0"));
    const struct {
        int exported;
        const char* numbers;
    } cases[] = {
        {121, "1.2.1.0"},  // PavrexVer: version 1.2.1, as the start-up message names it
        {126, "1.2.6.0"},  // TesmorVer
        {100, "1.0.0.0"},  // ImgctlVersion
        {7, "0.0.7.0"},
        {1234, "12.3.4.0"},
        {-5, "0.0.0.0"},
    };
    for (const auto& c : cases) EXPECT_EQ(LibraryVersionNumbers(c.exported), QString::fromLatin1(c.numbers)) << c.exported;
}

}  // namespace
}  // namespace vakuro

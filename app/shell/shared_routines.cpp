#include "shared_routines.h"

#include "cp932_qstring.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QListWidget>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <climits>
#include <cmath>
#include <ctime>
#include <mutex>
#include <thread>

namespace vakuro {
namespace {

// Rounds numerator / denominator (denominator > 0) to the nearest integer,
// halves to even, exactly.
std::int64_t divideRoundHalfEven(std::int64_t numerator, std::int64_t denominator) {
    std::int64_t quotient = numerator / denominator;
    std::int64_t remainder = numerator % denominator;
    if (remainder < 0) {
        remainder += denominator;
        --quotient;
    }
    const std::int64_t twice = 2 * remainder;
    if (twice > denominator || (twice == denominator && (quotient % 2 != 0))) ++quotient;
    return quotient;
}

int saturate(std::int64_t v) { return static_cast<int>(std::clamp<std::int64_t>(v, INT_MIN, INT_MAX)); }

int channel(int colour, int shift) { return (static_cast<unsigned>(colour) >> shift) & 0xFF; }

// A single blank of the padding routines.
const QChar kBlank(u' ');

}  // namespace

// ---- Paths and texts ------------------------------------------------------

QString WithBackslash(const QString& path) {
    if (path.isEmpty() || path.endsWith(u'/')) return path;
    return path + u'/';
}

bool EnsureFolder(const QString& path) {
    if (path.isEmpty()) return false;
    if (QFileInfo(path).isDir()) return true;
    return QDir().mkpath(path);
}

QString CutAtNul(const QString& text) {
    qsizetype end = text.indexOf(QChar(u'\0'));
    if (end < 0) end = text.size();
    qsizetype begin = 0;
    while (begin < end && text[begin] == kBlank) ++begin;
    while (end > begin && text[end - 1] == kBlank) --end;
    return text.mid(begin, end - begin);
}

QString Quote(const QString& text) { return u'\'' + text + u'\''; }

QString PadBytesLeft(const QString& text, int n) {
    if (n <= 0) return QString();
    QString result;
    int bytes = 0;
    for (qsizetype i = 0; i < text.size() && bytes < n;) {
        int units = 1;
        const int width = cp932CharacterBytes(text, i, &units);
        if (bytes + width > n) {
            result.append(kBlank);  // the first half of a split character
            bytes += 1;
            break;
        }
        result.append(text.mid(i, units));
        bytes += width;
        i += units;
    }
    return result + QString(n - bytes, kBlank);
}

QString PadBytesRight(const QString& text, int n) {
    if (n <= 0) return QString();
    QString result;
    int bytes = 0;
    for (qsizetype i = text.size(); i > 0 && bytes < n;) {
        // Step back over one character (two units for a surrogate pair).
        qsizetype start = i - 1;
        if (start > 0 && text[start].isLowSurrogate() && text[start - 1].isHighSurrogate()) --start;
        const int width = cp932CharacterBytes(text, start);
        if (bytes + width > n) {
            result.prepend(kBlank);  // the second half of a split character
            bytes += 1;
            break;
        }
        result.prepend(text.mid(start, i - start));
        bytes += width;
        i = start;
    }
    return QString(n - bytes, kBlank) + result;
}

// ---- Numbers ----------------------------------------------------------------

int ParseInt(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    auto blank = [](QChar c) { return c == u' ' || c == u'\t'; };
    while (begin < end && blank(text[begin])) ++begin;
    while (end > begin && blank(text[end - 1])) --end;
    qsizetype i = begin;
    bool negative = false;
    if (i < end && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
    auto digit = [](QChar c) { return c >= u'0' && c <= u'9'; };

    // Whole part, saturating far beyond the int32 range.
    constexpr std::int64_t kLimit = std::int64_t{1} << 40;
    std::int64_t whole = 0;
    int digits = 0;
    for (; i < end && digit(text[i]); ++i, ++digits) whole = std::min(kLimit, whole * 10 + (text[i].unicode() - u'0'));

    // Fraction: only its rounding direction matters.
    int roundUp = 0;  // -1 below a half, 0 exactly a half, 1 above a half
    bool hasFraction = false;
    if (i < end && text[i] == u'.') {
        ++i;
        hasFraction = true;
        bool first = true;
        roundUp = -1;
        for (; i < end && digit(text[i]); ++i, ++digits) {
            const int d = text[i].unicode() - u'0';
            if (first) {
                roundUp = d > 5 ? 1 : (d == 5 ? 0 : -1);
                first = false;
            } else if (roundUp == 0 && d != 0) {
                roundUp = 1;
            }
        }
    }
    if (digits == 0) return 0;
    if (!hasFraction && i < end && text[i] == u'&') ++i;
    if (i != end) return 0;
    if (hasFraction && (roundUp > 0 || (roundUp == 0 && whole % 2 != 0))) ++whole;
    return saturate(negative ? -whole : whole);
}

int Clamp(int v, int low, int high) {
    if (v < low) return low;
    if (v > high) return high;
    return v;
}

int Max(int a, int b) { return a > b ? a : b; }
int Min(int a, int b) { return a < b ? a : b; }

int RoundHalfEven(double value) {
    if (std::isnan(value)) return 0;
    if (value >= static_cast<double>(INT_MAX)) return INT_MAX;
    if (value <= static_cast<double>(INT_MIN)) return INT_MIN;
    const double lower = std::floor(value);
    const double fraction = value - lower;
    auto result = static_cast<std::int64_t>(lower);
    if (fraction > 0.5 || (fraction == 0.5 && result % 2 != 0)) ++result;
    return saturate(result);
}

// ---- Colours ----------------------------------------------------------------

int Rgb(int red, int green, int blue) {
    return Clamp(red, 0, 255) | (Clamp(green, 0, 255) << 8) | (Clamp(blue, 0, 255) << 16);
}

int ColourPart(int colour, int which) {
    const int red = channel(colour, 0);
    const int green = channel(colour, 8);
    const int blue = channel(colour, 16);
    switch (which) {
    case 1: return red;
    case 2: return green;
    case 3: return blue;
    case 4: return red + green + blue;
    case 5: {
        // The weights in thousandths, so that the halves of the decimal
        // arithmetic are recognised exactly (0.114 x 250 = 28.5 goes to 28).
        const std::int64_t r = divideRoundHalfEven(red * 299, 1000);
        const std::int64_t g = divideRoundHalfEven(green * 587 + r * 1000, 1000);
        return static_cast<int>(divideRoundHalfEven(blue * 114 + g * 1000, 1000));
    }
    default: return 0;
    }
}

int BlendColour(int colourA, int colourB, double t) {
    const double weight = std::max(0.0, t);
    int result = 0;
    for (int shift : {0, 8, 16}) {
        const double mixed = (1.0 - weight) * channel(colourB, shift) + weight * channel(colourA, shift);
        result |= Clamp(RoundHalfEven(mixed), 0, 255) << shift;
    }
    return result;
}

// ---- Clock --------------------------------------------------------------------

std::int64_t TickExtender::extend(std::uint32_t rawTick) {
    if (started_ && rawTick < last_) ++wraps_;
    started_ = true;
    last_ = rawTick;
    return (wraps_ << 32) + rawTick;
}

std::int64_t TickCount64() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const std::int64_t ms = std::int64_t{now.tv_sec} * 1000 + now.tv_nsec / 1000000;
    static std::mutex mutex;
    const std::lock_guard lock(mutex);
    static TickExtender extender(ms >> 32);
    return extender.extend(static_cast<std::uint32_t>(ms));
}

std::int64_t Wait(int ms, bool pump) {
    const std::int64_t start = TickCount64();
    std::int64_t now = start;
    while (now - start < ms) {
        const auto remaining = static_cast<int>(ms - (now - start));
        if (pump && QCoreApplication::instance()) {
            // A nested event loop handles the user's input and repaints
            // while it waits, without keeping a processor busy.
            QEventLoop loop;
            QTimer timer;
            timer.setSingleShot(true);
            timer.setTimerType(Qt::PreciseTimer);
            QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
            timer.start(remaining);
            loop.exec();
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(remaining));
        }
        now = TickCount64();
    }
    return now;
}

// ---- Messages and input -------------------------------------------------------

QString ToFullWidth(const QString& text) {
    // Full-width forms of the half-width katakana block U+FF61..U+FF9F.
    static constexpr char16_t kKana[] = {
        0x3002, 0x300C, 0x300D, 0x3001, 0x30FB, 0x30F2, 0x30A1, 0x30A3, 0x30A5, 0x30A7, 0x30A9, 0x30E3, 0x30E5,
        0x30E7, 0x30C3, 0x30FC, 0x30A2, 0x30A4, 0x30A6, 0x30A8, 0x30AA, 0x30AB, 0x30AD, 0x30AF, 0x30B1, 0x30B3,
        0x30B5, 0x30B7, 0x30B9, 0x30BB, 0x30BD, 0x30BF, 0x30C1, 0x30C4, 0x30C6, 0x30C8, 0x30CA, 0x30CB, 0x30CC,
        0x30CD, 0x30CE, 0x30CF, 0x30D2, 0x30D5, 0x30D8, 0x30DB, 0x30DE, 0x30DF, 0x30E0, 0x30E1, 0x30E2, 0x30E4,
        0x30E6, 0x30E8, 0x30E9, 0x30EA, 0x30EB, 0x30EC, 0x30ED, 0x30EF, 0x30F3, 0x309B, 0x309C,
    };
    static_assert(std::size(kKana) == 0xFF9F - 0xFF61 + 1);
    auto voicedForm = [](char16_t k) -> char16_t {
        if (k == 0x30A6) return 0x30F4;  // ウ -> ヴ
        const bool kaToTo = (k >= 0x30AB && k <= 0x30C2 && (k - 0x30AB) % 2 == 0) || k == 0x30C4 || k == 0x30C6 ||
                            k == 0x30C8;
        const bool haToHo = k >= 0x30CF && k <= 0x30DB && (k - 0x30CF) % 3 == 0;
        return kaToTo || haToHo ? static_cast<char16_t>(k + 1) : 0;
    };
    auto semiVoicedForm = [](char16_t k) -> char16_t {
        return k >= 0x30CF && k <= 0x30DB && (k - 0x30CF) % 3 == 0 ? static_cast<char16_t>(k + 2) : 0;
    };

    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c == u' ') {
            result.append(QChar(0x3000));
        } else if (c >= 0x21 && c <= 0x7E) {
            result.append(QChar(static_cast<char16_t>(c + 0xFEE0)));
        } else if (c >= 0xFF61 && c <= 0xFF9F) {
            const char16_t kana = kKana[c - 0xFF61];
            const char16_t next = i + 1 < text.size() ? text[i + 1].unicode() : 0;
            const char16_t joined = next == 0xFF9E ? voicedForm(kana) : next == 0xFF9F ? semiVoicedForm(kana) : 0;
            result.append(QChar(joined ? joined : kana));
            if (joined) ++i;
        } else {
            result.append(text[i]);
        }
    }
    return result;
}

QString FormatMessage(const QString& messageTemplate, const QVariantList& arguments) {
    QString result;
    qsizetype next = 0;
    auto takeArgument = [&]() -> QString {
        return next < arguments.size() ? arguments[next++].toString() : QString();
    };
    for (const QChar c : messageTemplate) {
        switch (c.unicode()) {
        case u'@':
        case u'$': result += takeArgument(); break;
        case u'＠': result += ToFullWidth(takeArgument()); break;
        case u'&': result += QStringLiteral("\r\n"); break;
        case u'＆': result += QStringLiteral("\r\n\t"); break;
        default: result += c; break;
        }
    }
    return result;
}

QString FormatMessage(const QString& messageTemplate, const QStringList& arguments) {
    QVariantList list;
    list.reserve(arguments.size());
    for (const QString& argument : arguments) list.append(argument);
    return FormatMessage(messageTemplate, list);
}

int FilterKey(int keyCode, int mode) {
    if (keyCode >= 0x01000000) return keyCode;  // Qt::Key values of editing keys
    switch (mode) {
    case 1: return (keyCode >= 0 && keyCode <= 31) || (keyCode >= '0' && keyCode <= '9') ? keyCode : 0;
    case 2: {
        if (keyCode < 0 || keyCode > 0x10FFFF) return 0;
        const char32_t codePoint = static_cast<char32_t>(keyCode);
        const QString character = QString::fromUcs4(&codePoint, 1);
        const auto bytes = toCp932(character);
        return bytes && bytes->size() == 1 ? keyCode : 0;
    }
    default: return keyCode;
    }
}

// ---- List lookups -------------------------------------------------------------

int FindListText(const QComboBox* list, const QString& text) {
    if (!list) return -1;
    for (int i = 0; i < list->count(); ++i)
        if (list->itemText(i).trimmed() == text) return i;
    return -1;
}

int FindListText(const QListWidget* list, const QString& text) {
    if (!list) return -1;
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->text().trimmed() == text) return i;
    return -1;
}

int FindListText(const QStringList& list, const QString& text) {
    for (qsizetype i = 0; i < list.size(); ++i)
        if (list[i].trimmed() == text) return static_cast<int>(i);
    return -1;
}

int FindListData(const QComboBox* list, const QVariant& value) {
    if (!list) return -1;
    for (int i = 0; i < list->count(); ++i)
        if (list->itemData(i) == value) return i;
    return -1;
}

int FindListData(const QListWidget* list, const QVariant& value) {
    if (!list) return -1;
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->data(Qt::UserRole) == value) return i;
    return -1;
}

int FindListData(const QVariantList& list, const QVariant& value) {
    for (qsizetype i = 0; i < list.size(); ++i)
        if (list[i] == value) return static_cast<int>(i);
    return -1;
}

// ---- Glyphs ---------------------------------------------------------------

namespace {

bool isHalfWidthGlyph(QChar c) {
    const char16_t u = c.unicode();
    return u == u'\t' || (u >= 0x20 && u <= 0x7E) || (u >= 0xFF61 && u <= 0xFF9F);
}

bool isSoundMark(QChar c) { return c.unicode() == 0xFF9E || c.unicode() == 0xFF9F; }

// The UTF-16 units of the glyph that starts at index i.
qsizetype glyphUnits(const QString& text, qsizetype i) {
    if (i + 1 >= text.size()) return 1;
    if (isHalfWidthGlyph(text[i]) && isSoundMark(text[i + 1])) return 2;
    if (text[i].isHighSurrogate() && text[i + 1].isLowSurrogate()) return 2;
    return 1;
}

}  // namespace

int GlyphCount(const QString& text) {
    int count = 0;
    for (qsizetype i = 0; i < text.size(); i += glyphUnits(text, i)) ++count;
    return count;
}

int GlyphIndex(const QString& text, int position, bool& joined) {
    joined = false;
    if (position < 1) return 0;
    const qsizetype index = position - 1;
    if (index >= text.size()) return GlyphCount(text) - 1;
    int glyph = 0;
    for (qsizetype i = 0;; ++glyph) {
        const qsizetype units = glyphUnits(text, i);
        if (index < i + units) {
            joined = index == i && units == 2 && isSoundMark(text[i + 1]) && isHalfWidthGlyph(text[i]);
            return glyph;
        }
        i += units;
    }
}

// ---- Versions -------------------------------------------------------------

QString AppVersionText() {
    return QStringLiteral("Version %1.%2.%3").arg(VAKURO_VERSION_MAJOR).arg(VAKURO_VERSION_MINOR).arg(VAKURO_VERSION_PATCH);
}

QString ProgramVersionNumbers() {
    return QStringLiteral("%1.%2.%3.0").arg(VAKURO_VERSION_MAJOR).arg(VAKURO_VERSION_MINOR).arg(VAKURO_VERSION_PATCH);
}

QString LibraryVersionNumbers(int exportedVersion) {
    const int v = std::max(0, exportedVersion);
    return QStringLiteral("%1.%2.%3.0").arg(v / 100).arg(v / 10 % 10).arg(v % 10);
}

QString FileVersionText(const QString& path, const QString& versionNumbers) {
    const QFileInfo info(path);
    if (!info.exists()) return QStringLiteral("（なし）");
    if (!info.isFile()) return QString();
    return QStringLiteral("  ") + versionNumbers;
}

QString FileVersionText(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists()) return QStringLiteral("（なし）");
    if (!info.isFile()) return QString();
    static const QRegularExpression kSoVersion(QStringLiteral("\\.so((?:\\.\\d+){1,4})$"));
    const QRegularExpressionMatch match = kSoVersion.match(QFileInfo(info.canonicalFilePath()).fileName());
    if (match.hasMatch()) {
        QStringList numbers = match.captured(1).mid(1).split(u'.');
        while (numbers.size() < 4) numbers.append(QStringLiteral("0"));
        return QStringLiteral("  ") + numbers.join(u'.');
    }
    if (info.fileName() == QLatin1String("vakuro")) return FileVersionText(path, ProgramVersionNumbers());
    return QString();
}

// ---- Starting programs -------------------------------------------------

namespace {

void sleepThread(int milliseconds) { QThread::msleep(static_cast<unsigned long>(milliseconds)); }

std::atomic<ShellPauseFunction> shellPause{sleepThread};

}  // namespace

void SetShellPause(ShellPauseFunction pause) { shellPause = pause ? pause : sleepThread; }

int ShellAndWait(const QString& program, const QString& arguments, QWidget* window, int timeoutMs, int flags) {
    return ShellAndWait(program, QProcess::splitCommand(arguments), window, timeoutMs, flags);
}

int ShellAndWait(const QString& program, const QStringList& arguments, QWidget* window, int timeoutMs, int flags) {
    if (program.isEmpty()) return 0;
    if ((flags & ShellMustExist) && !QFileInfo::exists(program)) return 0;
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    // The program talks to the terminal, if any, not to pipes that nobody reads.
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.setStandardInputFile(QProcess::nullDevice());
    process.start();
    if (!process.waitForStarted(-1)) return 0;
    if ((flags & ShellHideWindow) && window) window->hide();
    const int wait = timeoutMs < 0 ? -1 : std::max(timeoutMs, 10);
    while (!process.waitForFinished(wait)) {
        if (process.state() == QProcess::NotRunning) break;
        if (flags & ShellSleep) shellPause.load()(100);
        if ((flags & ShellRepaint) && window) window->repaint();
    }
    return 1;
}

}  // namespace vakuro

#include "schedule.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include <QFile>
#include <QSaveFile>
#include <QtEndian>

#include "program_paths.h"

namespace vakuro {

namespace {

constexpr int rgb(int r, int g, int b) { return r | g << 8 | b << 16; }

// (slot, value) of every slot that a new entry does not leave at 0.
constexpr std::pair<int, int32_t> kNewEntryDefaults[] = {
    {slot::SplashCellSize, 1},     {slot::LightRange, 4},         {slot::LightBrightness, 4},
    {slot::BackLightBrightness, 4}, {slot::WrittenOnly7, rgb(200, 200, 200)},
    {slot::FlashCount, 2},         {slot::FlashRatio, 4},         {slot::SnowCount, 4},
    {slot::SnowSpeed, 4},          {slot::TrumpTurns, 2},         {slot::SnowBrightness, 4},
    {slot::StarCount, 4},          {slot::StarInterval, 4},       {slot::WrittenOnly19, 4},
    {slot::StarOnTime, 4},         {slot::StarColour, rgb(255, 255, 255)},
    {slot::FadeWidth, 5},          {slot::SpinBackBrightness, 9}, {slot::SlideSpacing, 4},
    {slot::MoveStartWidth, 50},    {slot::MoveStartHeight, 50},   {slot::MoveEndWidth, 100},
    {slot::MoveEndHeight, 100},    {slot::TrumpInterval, 4},      {slot::DropInterval, 4},
};

constexpr int kFormatOffset = kScheduleSignatureBytes;
constexpr int kEntriesOffset = kFormatOffset + 4 + kScheduleReservedBytes;

}  // namespace

ScheduleEntry ScheduleEntry::withDefaults(int kind, int framesPerSecond) {
    ScheduleEntry e;
    for (const auto& [index, value] : kNewEntryDefaults) e[index] = value;
    e.setKind(kind);
    e.setDuration(2.0f);
    e[slot::FramesPerSecond] = framesPerSecond;
    return e;
}

int AnimationSchedule::runLength() const {
    int n = 0;
    while (n < kScheduleEntries && entries[static_cast<size_t>(n)].kind() != 0) ++n;
    return n;
}

int AnimationSchedule::add(int kind, int selectedRow, bool before, int framesPerSecond) {
    const int rows = rowCount();
    if (rows > kMaxAddedRows - 1) return -1;
    int s = selectedRow >= 0 && selectedRow < rows ? selectedRow : -1;
    if (before) s = std::max(s - 1, -1);
    const int at = s + 1;
    // The entries from the last row down to the new place move one place
    // towards the end; rows <= 98, so the last one moved lands at index 98 at
    // most, well inside the table.
    for (int i = rows - 1; i >= at; --i) (*this)[i + 1] = (*this)[i];
    (*this)[at] = ScheduleEntry::withDefaults(kind, framesPerSecond);
    return std::min(rowCount() - 1, at);
}

bool AnimationSchedule::remove(int row) {
    const int rows = rowCount();
    if (row < 0 || row >= rows) return false;
    // Entry i takes entry i + 1 up to the last row; the last step copies the
    // entry behind the shown rows (kind 0 at the end of a normal schedule).
    // rows <= 101, so i + 1 stays inside the table.
    for (int i = row; i < rows; ++i) (*this)[i] = (*this)[i + 1];
    return true;
}

void AnimationSchedule::removeAll() {
    for (int i = 0; i < kMaxShownRows; ++i) (*this)[i].setKind(0);
}

bool AnimationSchedule::moveUp(int row) {
    if (row < 1 || row >= rowCount()) return false;
    std::swap((*this)[row], (*this)[row - 1]);
    return true;
}

bool AnimationSchedule::moveDown(int row) {
    if (row < 0 || row + 1 >= rowCount()) return false;
    std::swap((*this)[row], (*this)[row + 1]);
    return true;
}

QByteArray scheduleSignature() { return QByteArrayLiteral("Vakuro Animetion Setting  "); }

ScheduleFileStatus readScheduleFile(const QString& path, AnimationSchedule& schedule) {
    for (ScheduleEntry& e : schedule.entries) e.setKind(0);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return ScheduleFileStatus::Missing;
    const QByteArray bytes = file.read(kScheduleFileBytes);
    if (bytes.size() >= kScheduleSignatureBytes && bytes.left(kScheduleSignatureBytes) != scheduleSignature())
        return ScheduleFileStatus::WrongSignature;
    if (bytes.size() >= kFormatOffset + 4 &&
        qFromLittleEndian<qint32>(bytes.constData() + kFormatOffset) != kScheduleFileFormat)
        return ScheduleFileStatus::WrongFormat;
    // A cut-off file is not read in part: its last entries would be garbage.
    if (bytes.size() < kScheduleFileBytes) return ScheduleFileStatus::Short;
    const char* p = bytes.constData() + kEntriesOffset;
    for (ScheduleEntry& e : schedule.entries) {
        for (int32_t& value : e.values) {
            value = qFromLittleEndian<qint32>(p);
            p += 4;
        }
    }
    return ScheduleFileStatus::Read;
}

QByteArray encodeScheduleFile(const AnimationSchedule& schedule) {
    QByteArray bytes(kScheduleFileBytes, '\0');
    std::memcpy(bytes.data(), scheduleSignature().constData(), kScheduleSignatureBytes);
    qToLittleEndian<qint32>(kScheduleFileFormat, bytes.data() + kFormatOffset);
    char* p = bytes.data() + kEntriesOffset;
    for (const ScheduleEntry& e : schedule.entries) {
        for (const int32_t value : e.values) {
            qToLittleEndian<qint32>(value, p);
            p += 4;
        }
    }
    return bytes;
}

bool writeScheduleFile(const QString& path, const AnimationSchedule& schedule) {
    const QByteArray bytes = encodeScheduleFile(schedule);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

QString scheduleFilePath() { return DataFolder() + QStringLiteral("AniSet.Dat"); }

}  // namespace vakuro

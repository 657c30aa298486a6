// The animation schedule: a fixed table of 200 effect entries of 112 slots
// each, in play order, and its file "AniSet.Dat".
//
// The schedule is the run of leading entries whose kind (slot 0) is not 0;
// the first entry of kind 0 ends it. Entries behind the run keep whatever
// they hold (stale data is written back to the file unchanged).
#pragma once

#include <array>
#include <bit>
#include <cstdint>

#include <QByteArray>
#include <QString>

namespace vakuro {

inline constexpr int kScheduleEntries = 200;
inline constexpr int kEntrySlots = 112;
inline constexpr int kEntryBytes = kEntrySlots * 4;  // 448
// The schedule list shows at most this many rows; the editing operations
// and the driver act on the rows shown.
inline constexpr int kMaxShownRows = 101;
// Adding is refused once the list holds more than this many rows minus one
// (so adds stop at 99 entries).
inline constexpr int kMaxAddedRows = 99;

// Slot numbers of a ScheduleEntry. Slot 1 holds a 32-bit float; every other
// slot a signed 32-bit integer (colours 0x00BBGGRR).
namespace slot {
enum : int {
    Kind = 0,
    Duration = 1,
    FramesPerSecond = 2,
    SplashCellSize = 3,
    LightRange = 4,
    LightBrightness = 5,
    BackLightBrightness = 6,
    WrittenOnly7 = 7,
    BackLightDirection = 8,
    FlashCount = 9,
    FlashRatio = 10,
    SnowCount = 11,
    SnowSpeed = 12,
    DropGravity = 13,
    TrumpTurns = 14,
    FlashType = 15,
    SnowBrightness = 16,
    StarCount = 17,
    StarInterval = 18,
    WrittenOnly19 = 19,
    LightTilt = 20,
    StarType = 21,
    SnowFallType = 22,
    StarOnTime = 23,
    StarCorrection = 24,
    StarColour = 25,
    TelopDirection = 26,
    FadeWidth = 27,
    SlideDirection = 28,
    TrumpType = 29,
    SplashRotation = 30,
    SpinBackBrightness = 31,
    SlideSpacing = 32,
    StandPerspective = 33,
    LightUnlitBackground = 34,
    SpinPerspective = 35,
    MoveStartX = 36,
    MoveStartY = 37,
    MoveStartWidth = 38,
    MoveStartHeight = 39,
    MoveStartAngle = 40,
    MoveEndX = 41,
    MoveEndY = 42,
    MoveEndWidth = 43,
    MoveEndHeight = 44,
    MoveEndAngle = 45,
    TrumpInterval = 46,
    BackLightDiffusion = 47,
    StandType = 48,
    SplashSpread = 49,
    SplashRotationMode = 50,
    SplashFade = 51,
    FlashDiffusion = 52,
    DropInterval = 53,
    MoveStartTransparency = 54,
    MoveEndTransparency = 55,
};
}  // namespace slot

struct ScheduleEntry {
    std::array<int32_t, kEntrySlots> values{};

    int32_t& operator[](int i) { return values[static_cast<size_t>(i)]; }
    int32_t operator[](int i) const { return values[static_cast<size_t>(i)]; }

    int kind() const { return values[slot::Kind]; }
    void setKind(int kind) { values[slot::Kind] = kind; }
    // Play time in seconds, the float held in slot 1.
    float duration() const { return std::bit_cast<float>(values[slot::Duration]); }
    void setDuration(float seconds) { values[slot::Duration] = std::bit_cast<int32_t>(seconds); }
    int framesPerSecond() const { return values[slot::FramesPerSecond]; }

    // A new entry: all slots 0, then the defaults of every slot the effects
    // read, the chosen kind and the given frame rate.
    static ScheduleEntry withDefaults(int kind, int framesPerSecond);

    friend bool operator==(const ScheduleEntry&, const ScheduleEntry&) = default;
};

struct AnimationSchedule {
    std::array<ScheduleEntry, kScheduleEntries> entries{};

    ScheduleEntry& operator[](int i) { return entries[static_cast<size_t>(i)]; }
    const ScheduleEntry& operator[](int i) const { return entries[static_cast<size_t>(i)]; }

    // The leading entries whose kind is not 0.
    int runLength() const;
    // The rows the schedule list shows: the run, at most kMaxShownRows.
    int rowCount() const { return runLength() < kMaxShownRows ? runLength() : kMaxShownRows; }

    // Inserts a new entry of kind with the defaults after the selected row
    // (selectedRow -1: at the top), or in place of it when before is set.
    // Returns the row to select afterwards, or -1 when refused (the list
    // already holds kMaxAddedRows rows or more).
    int add(int kind, int selectedRow, bool before, int framesPerSecond);
    // Removes the entry of row; the entries behind it move up one place
    // (the one behind the shown rows included). False for no such row.
    bool remove(int row);
    // Ends the schedule: kinds of entries 0 .. 100 become 0.
    void removeAll();
    // Swap the entry with its neighbour above or below; false when there is
    // none among the shown rows.
    bool moveUp(int row);
    bool moveDown(int row);
};

// ---- "AniSet.Dat" -----------------------------------------------------------

inline constexpr int kScheduleFileFormat = 132;
inline constexpr int kScheduleSignatureBytes = 26;
inline constexpr int kScheduleReservedBytes = 400;
inline constexpr int kScheduleFileBytes =
    kScheduleSignatureBytes + 4 + kScheduleReservedBytes + kScheduleEntries * kEntryBytes;  // 90030

// "Vakuro Animetion Setting" and two blanks.
QByteArray scheduleSignature();

enum class ScheduleFileStatus { Read, Missing, Short, WrongSignature, WrongFormat };

// Reads the file over the table. First every kind becomes 0 (an empty
// schedule); only a complete file with the signature and format 132 is then
// read (the reserved block is skipped). Any other file leaves the table
// empty and says why.
ScheduleFileStatus readScheduleFile(const QString& path, AnimationSchedule& schedule);

// The whole 90030 bytes: signature, format 132, 400 zero bytes, the 200
// entries.
QByteArray encodeScheduleFile(const AnimationSchedule& schedule);

// Writes the file through a temporary file in the same folder renamed over
// the old one. False when it could not be written (the old file is kept).
bool writeScheduleFile(const QString& path, const AnimationSchedule& schedule);

// DataFolder() + "AniSet.Dat".
QString scheduleFilePath();

}  // namespace vakuro

// The catalogue of effect kinds (1 to 19): list names, descriptions, notes,
// which detail dialog edits them, and the choices of the schedule window's
// duration and frame-rate selectors.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "schedule.h"

namespace vakuro {

inline constexpr int kEffectKindCount = 19;

// The per-character kinds (drop, slide, trump): refused for vertical
// writing, and they need the text cut into one picture per glyph.
inline bool isPerCharacterKind(int kind) { return kind >= 13 && kind <= 15; }

enum class DetailDialogKind { None, Common, FreeMove };

struct EffectKindInfo {
    const char* listName;
    const char* description;
    const char* note;  // empty for none
    DetailDialogKind detail;
};

// The entry of kind 1 .. 19; nullptr for any other number.
const EffectKindInfo* effectKind(int kind);

// The list name of a kind; "(新規)" for -1; "" for any other number outside
// the catalogue.
QString kindListName(int kind);

// The description, followed by CR LF CR LF and the note when there is one;
// "" outside the catalogue.
QString kindDescription(int kind);

// The 19 list names in kind order.
QStringList kindListNames();

// One choice of the duration selector: its text (" 0.1 秒" ... "10.0 秒"),
// its tag (the value times ten, rounded) and its value in seconds.
struct DurationChoice {
    QString text;
    int tag = 0;
    float seconds = 0;
};

// Kinds 10 and 16: 1.0 to 30.0 s in steps of 1.0. Every other kind: 0.1 to
// 3.0 s in steps of 0.1, then 3.5 to 10.0 s in steps of 0.5.
QList<DurationChoice> durationChoices(int kind);

// The choice's text for a value: " 0.0" formatting cut to its last four
// characters, then " 秒".
QString durationChoiceText(double seconds);

// The seconds at the start of a duration choice's text.
float durationFromChoiceText(const QString& text);

// " 1", " 2", " 5", "10", "15", "20", "25", "30".
QStringList frameRateChoices();

// The fix-ups that setting a kind makes: free-move sizes left at 0 become
// 50 (start) and 100 (end).
void applyKindFixups(ScheduleEntry& entry);

}  // namespace vakuro

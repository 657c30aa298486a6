#include "effect_kinds.h"

#include <cmath>

#include "shared_routines.h"

namespace vakuro {

namespace {

constexpr char kBridgeNote[] = "ｱﾆﾒｰｼｮﾝの繋ぎの時間調整に使います";
constexpr char kBrightNote[] = "注意：背景が明るいと見えない場合があります";
constexpr char kPerCharacterNote[] = "注意：太さ拡張、輪郭線、影が設定されていると正常に表示出来ない場合があります";

constexpr EffectKindInfo kKinds[kEffectKindCount] = {
    {"文字表示", "文字をそのまま表示します", kBridgeNote, DetailDialogKind::None},
    {"背景表示", "背景色だけを表示します", kBridgeNote, DetailDialogKind::None},
    {"フェードイン", "文字が徐々に現れてきます", "", DetailDialogKind::None},
    {"フェードアウト", "文字が徐々に消えていきます", "", DetailDialogKind::None},
    {"スプラッシュイン", "細かいパーツが中心に集まって文字を作ります", "", DetailDialogKind::Common},
    {"スプラッシュアウト", "文字が細かくはじけて飛んで行くイメージ", "", DetailDialogKind::Common},
    {"ライト", "反射光が流れていくイメージ", kBrightNote, DetailDialogKind::Common},
    {"バックライト", "文字の後方をライトが移動して光線が流れるイメージ", kBrightNote, DetailDialogKind::Common},
    {"フラッシュ",
     "文字背景がバックライトで点滅するイメージ。バックライトは書式>特殊効果の明影の設定に依存します",
     "注意：背景が明るいと見えない場合があります。脈動設定をすると処理に時間がかかります",
     DetailDialogKind::Common},
    {"スノー", "雪が降ってくるイメージ", kBrightNote, DetailDialogKind::Common},
    {"スタンドアップ", "全体が起き上がってくる様なイメージ", "", DetailDialogKind::Common},
    {"スピン", "全体が回転します", "", DetailDialogKind::Common},
    {"ドロップ", "文字が1文字づつ振ってきます", kPerCharacterNote, DetailDialogKind::Common},
    {"スライド", "右から1文字づつ流れてきます", kPerCharacterNote, DetailDialogKind::Common},
    {"トランプ", "1文字づつ回転,起上り,ｼﾞｬﾝﾌﾟするイメージ", kPerCharacterNote, DetailDialogKind::Common},
    {"イルミネーション", "星がきらめくイメージ", "注意：背景が明るいとよく見えない場合があります",
     DetailDialogKind::Common},
    {"テロップ", "文字がスクロールするイメージ", "", DetailDialogKind::Common},
    {"フェード", "文字が先頭部分から徐々に表示されてくる", "", DetailDialogKind::Common},
    {"フリームーブ", "設定した開始位置から終了位置まで文字を移動します", "", DetailDialogKind::FreeMove},
};

}  // namespace

const EffectKindInfo* effectKind(int kind) {
    if (kind < 1 || kind > kEffectKindCount) return nullptr;
    return &kKinds[kind - 1];
}

QString kindListName(int kind) {
    if (kind == -1) return QStringLiteral("(新規)");
    const EffectKindInfo* info = effectKind(kind);
    return info ? QString::fromUtf8(info->listName) : QString();
}

QString kindDescription(int kind) {
    const EffectKindInfo* info = effectKind(kind);
    if (!info) return QString();
    QString text = QString::fromUtf8(info->description);
    if (*info->note != '\0') text += QStringLiteral("\r\n\r\n") + QString::fromUtf8(info->note);
    return text;
}

QStringList kindListNames() {
    QStringList names;
    for (const EffectKindInfo& k : kKinds) names << QString::fromUtf8(k.listName);
    return names;
}

QString durationChoiceText(double seconds) {
    // " 0.0": a blank, then at least one digit before the point.
    const QString formatted = QLatin1Char(' ') + QString::number(seconds, 'f', 1);
    return formatted.right(4) + QStringLiteral(" 秒");
}

float durationFromChoiceText(const QString& text) {
    const QString number = text.section(QStringLiteral(" 秒"), 0, 0).trimmed();
    return number.toFloat();
}

QList<DurationChoice> durationChoices(int kind) {
    QList<DurationChoice> choices;
    auto add = [&](int tenths) {
        const double seconds = tenths / 10.0;
        choices.append({durationChoiceText(seconds), tenths, static_cast<float>(seconds)});
    };
    if (kind == 10 || kind == 16) {
        for (int s = 1; s <= 30; ++s) add(s * 10);
    } else {
        for (int t = 1; t <= 30; ++t) add(t);
        for (int t = 35; t <= 100; t += 5) add(t);
    }
    return choices;
}

QStringList frameRateChoices() {
    return {QStringLiteral(" 1"), QStringLiteral(" 2"), QStringLiteral(" 5"), QStringLiteral("10"),
            QStringLiteral("15"), QStringLiteral("20"), QStringLiteral("25"), QStringLiteral("30")};
}

void applyKindFixups(ScheduleEntry& entry) {
    if (entry[slot::MoveStartWidth] == 0) entry[slot::MoveStartWidth] = 50;
    if (entry[slot::MoveStartHeight] == 0) entry[slot::MoveStartHeight] = 50;
    if (entry[slot::MoveEndWidth] == 0) entry[slot::MoveEndWidth] = 100;
    if (entry[slot::MoveEndHeight] == 0) entry[slot::MoveEndHeight] = 100;
}

}  // namespace vakuro

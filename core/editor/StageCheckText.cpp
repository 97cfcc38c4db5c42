#include "core/editor/StageCheckText.h"

#include "core/base/Utf.h"
#include "core/game/GameConstants.h"
#include "core/lang/Translate.h"

#include <cstdio>

namespace {
std::u16string number(const char* format, double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, format, v);
    return toUtf16(buf);
}
// How often a steady hand clears the route, in words a maker reads at a glance.
std::u16string clearRateWords(const ClearRate& rate) {
    const int percent = rate.percent();
    if (percent >= 95) return tr(u"慣れた人ならほぼ毎回クリアできます");
    if (percent < 5) return tr(u"慣れた人でもめったにクリアできません");
    return tr(u"慣れた人なら10回に") + number("%.0f", (percent + 5) / 10) + tr(u"回クリアできます");
}
} // namespace

std::u16string stageCheckText(const StageCheck& check) {
    if (check.idle()) return tr(u"F5:人の速さでクリアできるか調べる");
    const SolveResult* answer = check.answer();
    if (!answer)
        return tr(u"人の速さでクリアできるか調べています") + u"  " + number("%.0f", check.seconds()) +
               tr(u"秒") + u"  " + number("%.0f", double(check.states())) + tr(u"状態") + u"  " +
               tr(u"Escで中止");
    switch (answer->ending) {
    case SolveEnding::Clear:
        return tr(u"人の速さでクリアできます") + u"  " +
               number("%.2f", double(answer->frames) / FramesPerSecond) + tr(u"秒") + u"  " +
               clearRateWords(answer->steady) + u"\n" + tr(u"クリック") + number("%.0f", answer->switches) +
               tr(u"回") + u"  " + tr(u"最短の間隔") + number("%.0f", answer->smallestGap) + tr(u"フレーム") +
               u"  " + tr(u"ずれの許容") + toUtf16(forgivenessSummary(answer->forgiveness)) + u"  " +
               tr(u"最初のクリック") + number("%.2f", double(answer->firstClick) / FramesPerSecond) +
               tr(u"秒") + u"  " + tr(u"TESTでお手本を表示");
    case SolveEnding::NoRoute:
        if (answer->hopeless == Hopeless::WalledIn)
            return tr(u"スタート地点が壁に囲まれていてゴールに届きません");
        if (answer->hopeless == Hopeless::NoGoal) return tr(u"ゴールがありません");
        return tr(u"人の速さでクリアできる道は見つかりませんでした");
    case SolveEnding::StateCap:
        return tr(u"調べられる状態の上限に達しました（答えは出ていません）") + u"  " +
               number("%.0f", double(answer->states)) + tr(u"状態");
    case SolveEnding::GaveUp:
        break;
    }
    return tr(u"時間内に答えが出ませんでした") + u"  " + number("%.0f", answer->seconds) + tr(u"秒");
}

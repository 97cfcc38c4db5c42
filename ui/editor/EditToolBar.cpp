#include "ui/editor/EditToolBar.h"

#include "core/base/Utf.h"
#include "core/lang/Translate.h"
#include "core/stage/Stage.h"
#include "ui/render/ButtonPalette.h"
#include "ui/render/Draw.h"
#include "ui/render/MenuEntry.h"

#include <cmath>
#include <cstdio>

namespace {
constexpr std::size_t TextBufferUnits = 256; // title and time limit, terminator included
constexpr std::size_t ZoomBufferUnits = 64;
constexpr float TitleRightEdge = 392.0f; // a long title ends in "…" before the screen's edge

const LabelDesc LabelDescs[EditToolBar::LabelCount] = {
    {u"PUT", -300.0f, 215.0f, 0.5f, TextAlign::Center},
    {u"MOVE", -240.0f, 215.0f, 0.5f, TextAlign::Center},
    {u"DEL", -180.0f, 215.0f, 0.5f, TextAlign::Center},
    {u"WALL", -120.0f, 215.0f, 0.5f, TextAlign::Center},
    {u"SETTING", -60.0f, 215.0f, 0.4f, TextAlign::Center},
    {u"SAVE", 0.0f, 215.0f, 0.5f, TextAlign::Center},
    {u"LOAD", 60.0f, 215.0f, 0.5f, TextAlign::Center},
    {u"TEST", 120.0f, 215.0f, 0.5f, TextAlign::Center},
    {u"EXIT", 190.0f, 215.0f, 0.5f, TextAlign::Center},
    {u"", -290.0f, 245.0f, 1.0f, TextAlign::Left},
    {u"", 290.0f, 215.0f, 0.9f, TextAlign::Center},
    {u"", 392.0f, 280.0f, 0.5f, TextAlign::Right}, // in from the edges: nothing touches them
    {u"", -392.0f, -290.0f, 0.5f, TextAlign::Left},
    {u"", 392.0f, -269.0f, 0.4f, TextAlign::Right}, // just above the help line's right end
    {u"", 0.0f, 172.0f, 0.6f, TextAlign::Center},   // just under the strip
};

const char16_t* const HelpTexts[EditToolBar::AreaCount] = {
    N_(u"左クリック:点を打つ、前に打った点から線を結ぶ  右クリック:前回打った点からの線を切ります"),
    N_(u"左クリック:点の選択  左ドラッグ:カーソル付近の点もしくは、選択された点の移動  "
       u"右ドラッグ:点の矩形選択"),
    N_(u"左クリック:点の削除  左ドラッグ:壁の削除  右ドラッグ:矩形範囲の点の削除"),
    N_(u"EDITで作る線の種類を変更します  WALL:壁  GOAL:ゴール"),
    N_(u"左クリックで棒の初期位置を決めます  このモードでのカメラ位置がステージのカメラ初期位置となります"),
    N_(u"編集内容をセーブします"),
    N_(u"前回のセーブ内容をロードします"),
    N_(u"現在の編集内容でテストプレイします  テスト中は中クリックでいつでも抜けられます"),
    N_(u"ステージエディットを終了します"),
    N_(u"ステージタイトルを変更します"),
    N_(u"ステージの制限時間を変更します"),
    u"",
};

const Rect StripRect(-400.0f, 200.0f, 400.0f, 300.0f);
constexpr Color32 StripColor = makeColor(112, 80, 64, 255);
constexpr Color32 UnlitTool = makeColor(255, 255, 255, 255); // white: the strip is dark
constexpr Color32 CurrentTool = makeColor(255, 0, 0, 255);
constexpr Color32 CursorText = makeColor(176, 176, 176, 255);
constexpr Color32 NoticeText = makeColor(255, 255, 0, 255);
} // namespace

EditToolBar::EditToolBar(GlyphCache& cache) : cache_(cache) {
    for (int i = 0; i < LabelCount; ++i)
        labels_[std::size_t(i)] = CreateLabel(cache, LabelDescs[i]);
}

Rect EditToolBar::AreaRect(int area) const {
    if (area == Title || area == TimeLimit) return labels_[std::size_t(area)]->Bounds();
    if (area == Strip) return StripRect;
    const LabelDesc& d = LabelDescs[area];
    return Rect(d.x - 28.0f, d.y - 6.0f, d.x + 28.0f, d.y + 22.0f);
}

int EditToolBar::HitTest(Vec2 view) const {
    for (int i = 0; i < AreaCount; ++i)
        if (AreaRect(i).containsStrictly(view)) return i;
    return -1;
}

void EditToolBar::SetKind(std::int32_t kind) {
    labels_[Kind]->SetText(kind == GOAL ? u"GOAL" : u"WALL");
}

void EditToolBar::SetTitle(std::u16string_view title) {
    const LabelDesc& d = LabelDescs[Title];
    labels_[Title] = CreateFittedLabel(cache_, fitInBuffer(tr(u"タイトル:"), title, TextBufferUnits),
                                       {d.x, d.y}, d.scale, TitleRightEdge);
}

void EditToolBar::SetTimeLimit(std::int32_t seconds) {
    labels_[TimeLimit]->SetText(fitInBuffer(toUtf16(std::to_string(seconds)), tr(u"秒"), TextBufferUnits));
}

void EditToolBar::SetZoom(float zoom) {
    char text[ZoomBufferUnits];
    std::snprintf(text, sizeof text, "X%.2f", double(zoom));
    labels_[ZoomLabel]->SetText(toUtf16(text));
}

void EditToolBar::SetHelp(int index) {
    const std::u16string text = index >= 0 && index < AreaCount ? tr(HelpTexts[index]) : u"";
    if (labels_[HelpLabel]->Text() != text) labels_[HelpLabel]->SetText(text);
}

void EditToolBar::SetCursor(Vec2 stagePoint, bool snapping) {
    // -0.0 would read as a different place than 0.0
    const auto tenths = [](float v) { return double(std::fabs(v) < 0.05f ? 0.0f : v); };
    char numbers[ZoomBufferUnits];
    std::snprintf(numbers, sizeof numbers, "x %.1f  y %.1f", tenths(stagePoint.x), tenths(stagePoint.y));
    const std::u16string text =
        (snapping ? tr(u"グリッド吸着") + u"  " : std::u16string()) + toUtf16(numbers);
    if (labels_[CursorLabel]->Text() != text) labels_[CursorLabel]->SetText(text);
}

void EditToolBar::ShowNotice(std::u16string_view text) {
    labels_[NoticeLabel]->SetText(text);
    noticeFrames_ = NoticeFrames;
}

void EditToolBar::Tick() {
    if (noticeFrames_ > 0) --noticeFrames_;
}

void EditToolBar::Draw(int hover, int mode, LabelBatch texts) const {
    // The strip and every box in one call, then all the texts over them in another.
    ColorVertexList boxes;
    AppendRect(boxes, StripRect, StripColor);
    for (int i = 0; i < Strip; ++i) {
        Color32 box = UnlitTool;
        if (i == hover) box = LitButton;
        if (i == mode) box = CurrentTool;
        AppendRect(boxes, AreaRect(i), box);
    }
    DrawColorVertices(boxes, GL_TRIANGLES);
    for (int i = 0; i < Strip; ++i)
        texts.Add(*labels_[std::size_t(i)], ButtonText);
    texts.Add(*labels_[ZoomLabel], Colors::White);
    texts.Add(*labels_[HelpLabel], Colors::White);
    texts.Add(*labels_[CursorLabel], CursorText);
    if (noticeFrames_ > 0) texts.Add(*labels_[NoticeLabel], NoticeText);
    texts.Draw();
}

#pragma once
// The strip along the top of the editor: nine buttons, the title and time-limit texts that
// open an input box, the zoom display and the help line. It only shows and hit-tests; the
// editor scene runs the commands.
#include "ui/render/TextLabel.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string_view>

class EditToolBar {
public:
    // Hit areas in hit-test order; 0-2 and 4 are also the tool modes.
    enum Area : int {
        Put,
        Move,
        Del,
        Kind,
        Setting,
        Save,
        Load,
        Test,
        Exit,
        Title,
        TimeLimit,
        Strip,
        AreaCount
    };
    enum : int { ZoomLabel = 11, HelpLabel = 12, CursorLabel = 13, NoticeLabel = 14, LabelCount = 15 };
    static constexpr int NoticeFrames = 120; // two seconds

    explicit EditToolBar(GlyphCache& cache);

    // The first area strictly containing the view point, or -1. Title and time limit use the
    // bounds of their texts.
    int HitTest(Vec2 view) const;
    Rect AreaRect(int area) const;

    void SetKind(std::int32_t kind);
    void SetTitle(std::u16string_view title);
    void SetTimeLimit(std::int32_t seconds);
    void SetZoom(float zoom);
    // The help text of an area, or of a mode when nothing is under the cursor.
    void SetHelp(int index);
    // The cursor's stage position in the bottom right corner, and whether new points snap.
    void SetCursor(Vec2 stagePoint, bool snapping);
    // A line under the tool bar for NoticeFrames frames, each counted by Tick.
    void ShowNotice(std::u16string_view text);
    void Tick();
    bool NoticeShown() const { return noticeFrames_ > 0; }

    // In view units: the strip, the buttons (the current tool red, the one under the cursor
    // yellow), then the zoom, help and cursor lines and any notice, with `texts` (the screen's
    // other labels) in the same call.
    void Draw(int hover, int mode, LabelBatch texts = {}) const;

    const TextLabel& Label(int i) const { return *labels_[std::size_t(i)]; }

private:
    GlyphCache& cache_;
    std::array<std::unique_ptr<TextLabel>, LabelCount> labels_;
    int noticeFrames_ = 0;
};

#include "editor/SceneEditMenu.h"

#include "app/GameSystem.h"
#include "render/Draw.h"
#include "render/MenuEntry.h"
#include "render/View.h"
#include "scene/GameState.h"
#include "scene/SceneMaster.h"
#include "sound/Sound.h"
#include "stage/FileLocations.h"
#include "stage/Utf.h"

SceneEditMenu::SceneEditMenu(SceneMaster* master) : master_(master), names_(listEditedStages()) {
    stageCount_ = int(names_.size());
    GlyphCache& cache = *TheGameSystem->glyphCache;
    auto add = [&](std::u16string_view text) {
        const float y = -EntrySpacing * float(entries_.size());
        entries_.push_back(CreateLabel(cache, text, {EntryX, y}, 1.0f));
        entries_.back()->Layout(); // bounds known before the first draw, which may skip it
    };
    for (const std::string& name : names_)
        add(toUtf16(name));
    add(u"N E W   S T A G E");
    add(u"E X I T");
    camera_.y = TargetY();
}

float SceneEditMenu::TargetY() const {
    const float cursorY = TheGameSystem->mouseState.cursor.y;
    return (cursorY / float(ViewHeight) - 0.5f) * EntrySpacing * float(entries_.size());
}

void SceneEditMenu::Update() {
    const MouseState& mouse = TheGameSystem->mouseState;
    const Vec2 p = screenToWorld(mouse.cursor, camera_); // the camera of the last frame drawn
    camera_.y += (TargetY() - camera_.y) * 0.1f;
    hover_ = -1;
    for (int i = 0; i < EntryCount(); ++i) {
        if (!entries_[std::size_t(i)]->Bounds().containsStrictly(p)) continue;
        hover_ = i;
        if (mouse.Pressed(MouseLeft)) Choose(i);
        break;
    }
}

void SceneEditMenu::Choose(int entry) {
    PlaySound(SoundId::enter, false);
    if (entry < stageCount_) {
        EditFileName = names_[std::size_t(entry)];
        NewStage = false;
        master_->ChangeScene(SceneId::Edit);
    } else if (entry == stageCount_) {
        EditFileName = nextNewStageName();
        NewStage = true;
        master_->ChangeScene(SceneId::Edit);
    } else {
        master_->PopScene();
    }
}

void SceneEditMenu::Draw() {
    ClearScreen(Colors::Black);
    PushCamera(camera_);
    // Thousands of stages drawn whole would take most of a frame; only what the camera shows.
    const Rect shown(screenToWorld({ViewRect.left, ViewRect.bottom}, camera_),
                     screenToWorld({ViewRect.right, ViewRect.top}, camera_));
    for (int i = 0; i < EntryCount(); ++i) {
        TextLabel& entry = *entries_[std::size_t(i)];
        if (entry.Bounds().overlaps(shown)) DrawMenuEntry(entry, i == hover_);
    }
    PopCamera();
}

#pragma once
// The text-input box's layout, kept as the dialog template's items in dialog units and
// converted to view units by the two factors below (the box is drawn by the game itself).

struct DialogItem {
    int id;
    const char16_t* text;
    int x, y, width, height; // dialog units from the client's top-left corner
};

struct DialogTemplate {
    const char16_t* caption;
    int width, height;
    DialogItem ok, cancel, edit;
};

inline constexpr int IdOk = 1;
inline constexpr int IdCancel = 2;
inline constexpr int IdEdit = 1001;

inline constexpr DialogTemplate InputBoxTemplate = {
    u"Dialog",
    203,
    44,
    {IdOk, u"OK", 92, 23, 50, 14},
    {IdCancel, u"キャンセル", 146, 23, 50, 14},
    {IdEdit, u"", 7, 7, 189, 12},
};

// View units per dialog unit: sized so the box reads comfortably at the game's 800 x 600.
inline constexpr float DialogUnitX = 2.8f;
inline constexpr float DialogUnitY = 3.4f;
// The caption bar above the client area, in view units.
inline constexpr float DialogCaptionHeight = 34.0f;

// Gallery.h - the gallery shows every control in its states in one window and writes the
// window's picture to a PNG. Each section lays out its controls in the area it is given.
#pragma once

#include "ZorNavCtrl.h"
#include "ExampleArt.h"

#include <functional>
#include <string>

struct GalleryContext
{
    HWND hwndParent; // the gallery window; it answers the controls' background requests
    RECT area;       // the section's part of the window, in client coordinates
    HFONT hFont;     // a caption font sized for touch screens
    HFONT hSmallFont;
};

// A child window with this property (any non-null value) gets light text from the gallery's
// colour answer: for text drawn straight on the dark background.
const wchar_t kLightTextProp[] = L"GalleryLightText";

// Draws a section title; returns the y where the section's controls start.
int GalleryTitle(GalleryContext& ctx, const wchar_t* pszTitle);
// Pumps messages for the given time so that timers and repaints happen.
void GalleryPump(DWORD dwMilliseconds);

// An extra picture, gallery-<name>.png next to the main one. Extra pictures are taken after the
// main picture, of the whole gallery: show changes the frame's subject, restore puts back the
// main picture's state.
void GalleryAddFrame(const wchar_t* pszName, std::function<void()> show,
                     std::function<void()> restore);
// A state that lasts only while the pen is held on a control (a pressed label): put on just
// before each picture, taken off after it, since taps elsewhere take the pen in between.
void GalleryAddHold(std::function<void()> press, std::function<void()> release);
// Part of the gallery's own background: paint draws it into a DC whose origin stands for the
// parent's point (0, 0) shifted by the given offset, wherever rcArea is painted or asked for.
void GalleryAddBackdrop(const RECT& rcArea, void (*pfnPaint)(HDC hdc, const RECT& rcInDc));

void BuildButtonSection(GalleryContext& ctx);
void BuildListSection(GalleryContext& ctx);
void BuildEditSection(GalleryContext& ctx);
void BuildStaticSection(GalleryContext& ctx);

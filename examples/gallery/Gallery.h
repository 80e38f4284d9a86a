// Gallery.h - the gallery shows every control in its states in one window and writes the
// window's picture to a PNG. Each section lays out its controls in the area it is given.
#pragma once

#include "ZorNavCtrl.h"

#include <string>

struct GalleryContext
{
    HWND hwndParent; // the gallery window; it answers the controls' background requests
    RECT area;       // the section's part of the window, in client coordinates
    HFONT hFont;     // a caption font sized for touch screens
    HFONT hSmallFont;
    // Writes the gallery window's current picture to gallery-<name>.png next to the main PNG
    // (for example frames of an animation).
    void (*pfnSnapshot)(const wchar_t* pszName);
};

// A child window with this property (any non-null value) gets light text from the gallery's
// colour answer: for text drawn straight on the dark background.
const wchar_t kLightTextProp[] = L"GalleryLightText";

// Draws a section title; returns the y where the section's controls start.
int GalleryTitle(GalleryContext& ctx, const wchar_t* pszTitle);
// Pumps messages for the given time so that timers and repaints happen.
void GalleryPump(DWORD dwMilliseconds);

void BuildButtonSection(GalleryContext& ctx);
void BuildListSection(GalleryContext& ctx);
void BuildEditSection(GalleryContext& ctx);
void BuildStaticSection(GalleryContext& ctx);

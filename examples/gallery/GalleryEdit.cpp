// GalleryEdit.cpp - the gallery's edit section: skinned edits in their states and two combo
// boxes, one opening downward and a large one opening upward near the window's bottom.
#include "Gallery.h"

namespace
{
CNavEdit g_edits[4];
CNavCombobox g_combo;
CNavCombobox g_largeCombo;
CNavCombobox g_smallCombo;
HFONT g_hEditFont;

// An application's own field background: a soft vertical gradient with a thin rim.
void GreenFieldBackground(HDC hdc, RECT* prc, UINT uState, UINT /*uCtrlId*/)
{
    const COLORREF top = uState ? RGB(0xB8, 0xE6, 0xC2) : RGB(0xE6, 0xF7, 0xE9);
    const COLORREF bottom = uState ? RGB(0x8C, 0xD1, 0x9C) : RGB(0xB9, 0xE5, 0xC3);
    TRIVERTEX v[2] = {
        {prc->left, prc->top, static_cast<COLOR16>(GetRValue(top) << 8),
         static_cast<COLOR16>(GetGValue(top) << 8), static_cast<COLOR16>(GetBValue(top) << 8), 0},
        {prc->right, prc->bottom, static_cast<COLOR16>(GetRValue(bottom) << 8),
         static_cast<COLOR16>(GetGValue(bottom) << 8), static_cast<COLOR16>(GetBValue(bottom) << 8),
         0},
    };
    GRADIENT_RECT gr = {0, 1};
    GradientFill(hdc, v, 2, &gr, 1, GRADIENT_FILL_RECT_V);
    HBRUSH hbr = CreateSolidBrush(RGB(0x3C, 0x9A, 0x55));
    FrameRect(hdc, prc, hbr);
    DeleteObject(hbr);
}

// A tap on the arrow, as the user makes it.
void TapArrow(CNavCombobox& combo)
{
    HWND hwnd = combo.GetSafeHwnd();
    RECT rc;
    GetClientRect(hwnd, &rc);
    const LPARAM pt = MAKELPARAM(rc.right - 10, rc.bottom / 2);
    SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, pt);
    SendMessageW(hwnd, WM_LBUTTONUP, 0, pt);
}
} // namespace

void BuildEditSection(GalleryContext& ctx)
{
    const int top = GalleryTitle(ctx, L"Edit and combo box");
    const HINSTANCE hInstance = GetModuleHandleW(nullptr);
    // A cell height rather than a character height: the internal leading above the letters
    // keeps them off the frame's top rim.
    g_hEditFont = CreateFontW(22, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                              OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                              DEFAULT_PITCH | FF_DONTCARE, L"Tahoma");

    // Left column: the edits.
    const int xEdit = ctx.area.left, cxEdit = 238, cyEdit = 32, gap = 12;
    struct EditSample
    {
        const wchar_t* pszText;
        DrawBkProc pfn;
        int bNoFrame;
    };
    const EditSample edits[4] = {
        {L"Main Street 12", nullptr, 0},
        {L"Berlin", nullptr, 0},
        {L"Own background", GreenFieldBackground, 0},
        {L"Without frame", nullptr, 1},
    };
    for (int i = 0; i < 4; ++i)
    {
        RECT rc = {xEdit, top + i * (cyEdit + gap), xEdit + cxEdit, top + i * (cyEdit + gap) + cyEdit};
        g_edits[i].SetFont(g_hEditFont);
        g_edits[i].Create(hInstance, WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL,
                          const_cast<wchar_t*>(edits[i].pszText), rc, ctx.hwndParent,
                          3100 + i, edits[i].pfn, edits[i].bNoFrame);
    }
    SetPropW(g_edits[3].GetSafeHwnd(), kLightTextProp, reinterpret_cast<HANDLE>(1));

    // Right column: a combo box whose list opens downward, and a large one at the bottom of
    // the window, whose list has no room below and opens upward.
    const int xCombo = ctx.area.left + 256, cxCombo = 240;
    const wchar_t* const cities[] = {L"Berlin", L"Hamburg", L"Munich", L"Cologne",
                                     L"Frankfurt", L"Stuttgart"};
    RECT rcCombo = {xCombo, top, xCombo + cxCombo, top + 24 + 4 * 22};
    g_combo.SetFont(g_hEditFont);
    g_combo.Create(hInstance, WS_VISIBLE, nullptr, rcCombo, ctx.hwndParent, 3200);
    for (const wchar_t* psz : cities)
        g_combo.AddString(psz);
    g_combo.SetCurSel(2);

    const wchar_t* const ways[] = {L"By car", L"By bicycle", L"On foot"};
    RECT rcLarge = {xCombo, ctx.area.bottom - 40, xCombo + cxCombo,
                    ctx.area.bottom - 40 + 34 + 3 * 32};
    g_largeCombo.IsLargerCB(1);
    g_largeCombo.SetFont(g_hEditFont);
    g_largeCombo.Create(hInstance, WS_VISIBLE, nullptr, rcLarge, ctx.hwndParent, 3210);
    for (const wchar_t* psz : ways)
        g_largeCombo.AddString(psz);
    g_largeCombo.SetCurSel(0);

    // Left column, below the edits: a closed combo box.
    RECT rcSmall = {xEdit, top + 4 * (cyEdit + gap) + 4, xEdit + cxEdit,
                    top + 4 * (cyEdit + gap) + 4 + 24 + 3 * 22};
    g_smallCombo.SetFont(g_hEditFont);
    g_smallCombo.Create(hInstance, WS_VISIBLE, nullptr, rcSmall, ctx.hwndParent, 3220);
    g_smallCombo.AddString(L"Fastest route");
    g_smallCombo.AddString(L"Shortest route");
    g_smallCombo.SetCurSel(0);
    for (CNavCombobox* pCombo : {&g_combo, &g_largeCombo, &g_smallCombo})
        SetPropW(pCombo->GetSafeHwnd(), kLightTextProp, reinterpret_cast<HANDLE>(1));
    GalleryPump(20);

    // Only one window has the focus: an open list holds it, and a focused edit loses it to
    // the list. The main picture shows the first list open; the focused edit and the upward
    // list get pictures of their own, in which that list has closed as it lost the focus.
    TapArrow(g_combo);
    GalleryPump(20);
    GalleryAddFrame(
        L"edit-focused",
        [] {
            HWND hFocused = g_edits[1].GetSafeHwnd();
            SendMessageW(hFocused, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(200, 12));
            SendMessageW(hFocused, WM_LBUTTONUP, 0, MAKELPARAM(200, 12));
        },
        [] { TapArrow(g_combo); });
    GalleryAddFrame(
        L"edit-upward", [] { TapArrow(g_largeCombo); }, [] { TapArrow(g_combo); });
}

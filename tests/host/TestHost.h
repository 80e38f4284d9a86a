// TestHost.h - a parent window for driving controls in tests, benchmarks and the gallery, on
// top of the test kit (NavTestKit.h: pumping, real input, popup menus, pictures), which
// applications get with the package.
//
// The host paints a known pattern (PatternAt) for WM_NAV_PAINTBKGND and for its own client
// area, forwards WM_DRAWITEM to the window named in the structure, answers WM_MEASUREITEM with
// a fixed row height, and records every message it receives, so that a test can say "this tap
// posted exactly this" and "these pixels are the background".
#pragma once

#include "NavCommon.h"
#include "NavTestKit.h"

#include <functional>
#include <string>
#include <vector>

namespace navtest
{

// One message as a window procedure saw it.
struct Msg
{
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// The host's background: a gradient that differs at every point of a 256 x 256 tile, so a
// pixel tells where in the parent it came from.
inline COLORREF PatternAt(int x, int y)
{
    return RGB(x & 0xFF, y & 0xFF, 0x80);
}

// Messages a window received, in order; the host and the spies keep one each.
class MessageLog
{
public:
    // Every message since the last Clear, in order.
    const std::vector<Msg>& Messages() const { return m_messages; }
    // Messages with the given id, in order.
    std::vector<Msg> Messages(UINT message) const;
    int Count(UINT message) const;
    void Clear() { m_messages.clear(); }

protected:
    void Record(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        m_messages.push_back({hwnd, message, wParam, lParam});
    }

private:
    std::vector<Msg> m_messages;
};

class TestHost : public MessageLog
{
public:
    TestHost(int cx = 640, int cy = 480, DWORD dwStyle = WS_OVERLAPPEDWINDOW | WS_VISIBLE |
                                                           WS_CLIPCHILDREN);
    ~TestHost();
    TestHost(const TestHost&) = delete;
    TestHost& operator=(const TestHost&) = delete;

    HWND Hwnd() const { return m_hwnd; }
    operator HWND() const { return m_hwnd; }

    // Forgets the messages and the background requests received so far.
    void Clear()
    {
        MessageLog::Clear();
        m_bkgndRects.clear();
    }

    // The rectangles of the WM_NAV_PAINTBKGND requests since the last Clear.
    const std::vector<RECT>& BackgroundRequests() const { return m_bkgndRects; }

    // What the host does on requests; tests may change these.
    bool paintBackground = true;   // answer WM_NAV_PAINTBKGND with the pattern
    bool forwardDrawItem = true;   // pass WM_DRAWITEM to the item's window
    // Pass WM_CTLCOLOREDIT / WM_CTLCOLORLISTBOX / WM_CTLCOLORSTATIC to the child named in
    // lParam: native children ask their parent for colours, the library's controls answer.
    bool forwardCtlColor = true;
    UINT measureItemHeight = 30;   // row height for WM_MEASUREITEM
    // Called for every message before the host's own handling; a non-empty result ends it.
    std::function<bool(UINT, WPARAM, LPARAM, LRESULT*)> hook;

    // Paints the pattern for the parent rectangle rc into hdc, rc's corner at hdc's origin.
    static void PaintPattern(HDC hdc, const RECT& rc);

private:
    static LRESULT CALLBACK WndProc(HWND, UINT, WPARAM, LPARAM);
    LRESULT OnMessage(UINT, WPARAM, LPARAM);

    HWND m_hwnd = nullptr;
    std::vector<RECT> m_bkgndRects;
};

// Records what a window receives, by subclassing it on top of whatever procedure it has.
// Removes itself when destroyed; spies may stack.
class MessageSpy : public MessageLog
{
public:
    explicit MessageSpy(HWND hwnd);
    ~MessageSpy();
    MessageSpy(const MessageSpy&) = delete;
    MessageSpy& operator=(const MessageSpy&) = delete;


private:
    static LRESULT CALLBACK SpyProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    HWND m_hwnd;
};

// Records what reaches a system control class's own procedure, beneath any subclass: while it
// lives, windows of that class created with this program's instance get a local class of the
// same name whose procedure records each message and hands it to the system's procedure.
class NativeClassSpy : public MessageLog
{
public:
    explicit NativeClassSpy(const wchar_t* pszClass);
    ~NativeClassSpy();
    NativeClassSpy(const NativeClassSpy&) = delete;
    NativeClassSpy& operator=(const NativeClassSpy&) = delete;

    bool Registered() const { return m_atom != 0; }

private:
    static LRESULT CALLBACK SpyProc(HWND, UINT, WPARAM, LPARAM);
    std::wstring m_class;
    WNDPROC m_pfnNative = nullptr;
    ATOM m_atom = 0;
};


// Ink finders: the bounding box of the pixels in rc for which match holds, empty when there
// are none; *pnCount, when asked for, gets how many there are.
RECT InkBoxWhere(const Pixels& px, const RECT& rc,
                 const std::function<bool(int x, int y, COLORREF c)>& match,
                 int* pnCount = nullptr);
RECT InkBox(const Pixels& px, const RECT& rc, const std::function<bool(COLORREF c)>& match);

// Colours close enough (each channel within tolerance).
bool ColorNear(COLORREF a, COLORREF b, int tolerance = 2);
std::string ColorText(COLORREF c);

// Collects the library's debug lines while it lives.
class DebugCapture
{
public:
    DebugCapture();
    ~DebugCapture();
    DebugCapture(const DebugCapture&) = delete;
    DebugCapture& operator=(const DebugCapture&) = delete;

    const std::vector<std::wstring>& Lines() const { return m_lines; }
    void Clear() { m_lines.clear(); }
    int Count(const std::wstring& line) const;

private:
    static void Hook(const wchar_t* pszLine, void* pContext);
    std::vector<std::wstring> m_lines;
};

// Answers a virtual list's row request (WM_NOTIFY with LVN_GETDISPINFOW) with text(row,
// subItem) and image(row), setting *pResult; false, and nothing done, for any other message.
bool AnswerRowRequest(UINT msg, LPARAM lParam,
                      const std::function<std::wstring(int row, int subItem)>& text,
                      const std::function<int(int row)>& image, LRESULT* pResult);

// Taps: the messages a pen down / up at a client point of a window produce, sent directly.
void SendTap(HWND hwnd, int x, int y);
void SendPenDown(HWND hwnd, int x, int y);
void SendPenUp(HWND hwnd, int x, int y);

// A screen-compatible bitmap selected into a memory DC, standing for a parent's off-screen
// picture. Made with plain GDI calls, so that it does not count among the library's objects.
class Canvas
{
public:
    Canvas(int cx, int cy);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC Dc() const { return m_hdc; }
    operator HDC() const { return m_hdc; }
    HBITMAP Bitmap() const { return m_hbm; }
    int Width() const { return m_cx; }
    int Height() const { return m_cy; }
    // Fills the whole canvas with one colour.
    void Fill(COLORREF c);
    // The whole canvas as pixels.
    Pixels Read() const { return Pixels::FromDC(m_hdc, 0, 0, m_cx, m_cy); }
    // One pixel, CLR_INVALID outside.
    COLORREF At(int x, int y) const { return Pixels::FromDC(m_hdc, x, y, 1, 1).At(0, 0); }

private:
    int m_cx, m_cy;
    HDC m_hdc;
    HBITMAP m_hbm;
    HGDIOBJ m_hOld;
};

// What a caller's DC holds that a drawing call must give back as it found it: the selected
// objects, the background mode, the text colour and whether a clip region is set.
struct DcState
{
    HGDIOBJ pen, brush, font, bitmap;
    int nBkMode;
    COLORREF crText;
    bool bClipped;
    POINT ptPen;

    static DcState Of(HDC hdc);
    // What differs in hdc now, named ("" when nothing does).
    std::string Changes(HDC hdc) const;
};

// Sets a caller's DC to a state no drawing default has (opaque background, text colour
// RGB(1, 2, 3), the pen at (7, 5)) and returns that state.
DcState MarkCallerDc(HDC hdc);

// The pixels of px (read from a parent's DC) that a control's composition left as other than
// c in the strip its window has beyond its client area: a window with a border is larger than
// the picture composed for its client area, and nothing beyond that picture may be copied.
int ChangedBeyondPicture(const Pixels& px, HWND hwnd, COLORREF c);
// Gives a window a sunken native edge after the fact; true when its client area is now
// smaller than the window.
bool AddNativeBorder(HWND hwnd);

// A screen-compatible bitmap of one colour (owned by the caller, DeleteObject when done).
HBITMAP MakeSolidBitmap(int cx, int cy, COLORREF c);

// Creates a font of the given pixel height (owned by the caller, DeleteObject when done).
HFONT MakeFont(int nHeight, const wchar_t* pszFace = L"Tahoma", int nWeight = FW_NORMAL);

} // namespace navtest

// Assignment.h - the assignment rule every control keeps, checked the same way for each.
//
// Assigning over a control that made windows of its own gives them up as destroying it would:
// left alone they would stay subclassed to an object that no longer stands for them, and once
// that object is gone their next message would reach freed memory. A copy assigned over leaves
// the windows of the control it was copied from alone. Each check runs twice: once assigning
// another control (the source), once a fresh one. A copy, made or assigned, holds its source's
// fields as they are (a field that copies leave null on purpose is named).
//
// Every control also forgets its object when its window is destroyed behind its back (by the
// parent going, say): whatever reaches the window's handle after WM_NCDESTROY finds no object.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <functional>
#include <vector>

namespace navtest
{

// Control is the exported class, Probe the class the test makes (Control or derived from it).
template <class Control, class Probe = Control>
struct AssignmentRule
{
    // Makes the source's and the target's windows (may use ASSERT_*).
    std::function<void(Probe& source, Probe& target)> make;
    // The windows the target made (its own window by default).
    std::function<std::vector<HWND>(Probe& target)> ownWindows =
        [](Probe& target) { return std::vector<HWND>{target.GetSafeHwnd()}; };
    // The control's own checks once the target has been assigned over.
    std::function<void(Probe& source, Probe& target, bool bFresh)> afterAssign =
        [](Probe&, Probe&, bool) {};
    // Lets the objects that now share the source's window go of it before they are destroyed,
    // so that only one object gives it up.
    std::function<void(Probe& target, Probe& copyOfTarget, bool bFresh)> release =
        [](Probe& target, Probe& copyOfTarget, bool bFresh) {
            if (!bFresh)
                static_cast<Control&>(target) = Control();
            static_cast<Control&>(copyOfTarget) = Control();
        };

    // Where a field lies (bytes from the object's start) that copies deliberately leave null
    // instead of sharing it (the label's tap table), or 0.
    size_t nUncopiedAt = 0;

    void Check() const
    {
        for (bool bFresh : {false, true})
        {
            SCOPED_TRACE(bFresh ? "a fresh one assigned" : "another one assigned");
            Probe source, target;
            make(source, target);
            if (::testing::Test::HasFatalFailure())
                return;
            const std::vector<HWND> own = ownWindows(target);
            auto assign = [&](Control& to) {
                if (bFresh)
                    to = Control();
                else
                    to = source;
            };
            Probe copyOfTarget(target);
            EXPECT_TRUE(SameFields(copyOfTarget, target)) << "a copy equals its original";
            assign(copyOfTarget);
            if (!bFresh)
            {
                EXPECT_TRUE(SameFields(copyOfTarget, source)) << "assigned field for field";
            }
            for (HWND hwnd : own)
                EXPECT_TRUE(IsWindow(hwnd)) << "a copy does not take its maker's windows";
            assign(target);
            for (HWND hwnd : own)
                EXPECT_FALSE(IsWindow(hwnd));
            EXPECT_TRUE(IsWindow(source.GetSafeHwnd()));
            EXPECT_EQ(bFresh ? nullptr : source.GetSafeHwnd(), target.GetSafeHwnd());
            afterAssign(source, target, bFresh);
            release(target, copyOfTarget, bFresh);
        }
        CheckDestroyedBehindItsBack();
    }

private:
    // Whether two objects hold the same fields, byte for byte after the virtual-table pointer
    // (every field is a plain value), but for the pointer at nUncopiedAt.
    bool SameFields(const Control& a, const Control& b) const
    {
        const char* pa = reinterpret_cast<const char*>(&a);
        const char* pb = reinterpret_cast<const char*>(&b);
        const size_t nFirst = sizeof(void*);
        if (!nUncopiedAt)
            return std::memcmp(pa + nFirst, pb + nFirst, sizeof(Control) - nFirst) == 0;
        const size_t nAfter = nUncopiedAt + sizeof(void*);
        return std::memcmp(pa + nFirst, pb + nFirst, nUncopiedAt - nFirst) == 0 &&
               std::memcmp(pa + nAfter, pb + nAfter, sizeof(Control) - nAfter) == 0;
    }

    // A procedure stacked on top of the control's, which reads the user data once the
    // control's own procedure has seen WM_NCDESTROY.
    struct Spy
    {
        static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
        {
            const LRESULT lResult = CallWindowProcW(s_pfnNext, hwnd, msg, wParam, lParam);
            if (msg == WM_NCDESTROY)
                s_userData = GetWindowLongPtrW(hwnd, GWLP_USERDATA);
            return lResult;
        }
        static inline WNDPROC s_pfnNext;
        static inline LONG_PTR s_userData;
    };

    void CheckDestroyedBehindItsBack() const
    {
        Probe source, target;
        make(source, target);
        if (::testing::Test::HasFatalFailure())
            return;
        for (HWND hwnd : ownWindows(target))
        {
            if (!IsWindow(hwnd))
                continue; // went with a window destroyed before it (the list's bar)
            ASSERT_NE(0, GetWindowLongPtrW(hwnd, GWLP_USERDATA)) << "the window names its object";
            Spy::s_userData = -1;
            Spy::s_pfnNext = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
                hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Spy::Proc)));
            DestroyWindow(hwnd);
            EXPECT_EQ(0, Spy::s_userData) << "a window destroyed behind the control's back "
                                             "forgets its object";
        }
    }
};

} // namespace navtest

/// \file ZorNavCtrl.h
/// Everything an application needs: the shared types and every control.
///
/// \mainpage ZorNavCtrl reference
///
/// Skinned touch controls for a Windows CE 5.0 navigation device (ZorNavCtrl.dll, with the
/// image holder CxImage in imgblend.dll). Include ZorNavCtrl.h and link
/// \c ZorNavCtrl::ZorNavCtrl (CMake package \c ZorNavCtrl).
///
/// - CNavBitmapButton: push button, check box, radio button, push-on/push-off button.
/// - CNavListCtrl: report list with check boxes, row images and its own scroll bar.
/// - CNavCombobox: edit field with a drop-down arrow and list.
/// - CNavEdit: single-line edit on a skinned frame.
/// - CNavStatic: label with colour, underline, marquee, push-button and link behaviour.
/// - CNavGroupBox: group box over a bitmap, parent of the buttons inside it.
///
/// Every control asks its parent for the picture beneath it (#WM_NAV_PAINTBKGND); buttons
/// and lists draw only when the parent passes \c WM_DRAWITEM back to them; the edit, the combo
/// box and the label want their colour requests passed back.
///
/// The guides say how the pieces go together (the links are relative to build/docs/html, where
/// tools/docs.sh writes this reference):
/// - <a href="../../../docs/application-guide.md">the application developer's guide</a>
///   (docs/application-guide.md): the package, running, testing screens with the test kit
///   (NavTestKit.h), the parent procedure, each control with what it sends to the parent;
/// - <a href="../../../docs/library-guide.md">the library developer's guide</a>
///   (docs/library-guide.md): the layout, the device check, the stand-in platform,
///   benchmarks, low memory, fuzzing;
/// - <a href="../../../README.md">the README</a>: the two commands and a first screen.
#pragma once

#include "NavCommon.h"
#include "NavBitmapButton.h"
#include "NavGroupBox.h"
#include "NavListCtrl.h"
#include "NavEdit.h"
#include "NavCombobox.h"
#include "NavStatic.h"

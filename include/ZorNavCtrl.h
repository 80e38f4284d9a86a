// ZorNavCtrl.h - everything an application needs: the shared types and every control.
#pragma once

#include "NavCommon.h"
#include "NavBitmapButton.h"
#include "NavGroupBox.h"
#include "NavListCtrl.h"
#include "NavEdit.h"
#include "NavCombobox.h"
#include "NavStatic.h"

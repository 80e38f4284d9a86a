// NavListCtrl.h
#pragma once

#include "NavCommon.h"

// NavBitmapButton.h
#pragma once

#include "NavCommon.h"

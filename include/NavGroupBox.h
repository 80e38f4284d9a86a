// NavGroupBox.h
#pragma once

#include "NavCommon.h"

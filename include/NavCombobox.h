// NavCombobox.h
#pragma once

#include "NavCommon.h"

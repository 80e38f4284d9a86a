// NavStatic.h
#pragma once

#include "NavCommon.h"

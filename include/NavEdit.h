// NavEdit.h
#pragma once

#include "NavCommon.h"

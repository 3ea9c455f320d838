#pragma once

// The plug-in record is one source for both builds; this build compiles it with ZEPHYRMANTLE_FFGL15.
#include "../ffgl/PluginInfo.h"

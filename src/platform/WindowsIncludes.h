#pragma once

/*
    The Windows API, included the one way this project uses it: the lean set of headers,
    without the rarely used parts that slow compiling and clash with common names.
    Include it only from code compiled for Windows.
*/
#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#endif

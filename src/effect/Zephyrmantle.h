#pragma once

#include "CFFGLPlugin.h"

/*
    The plug-in object the host creates. For now it draws nothing: it relies
    on CFFGLPlugin's defaults until the contour effect takes its place.
*/
class Zephyrmantle : public CFFGLPlugin
{
public:
    Zephyrmantle();
    ~Zephyrmantle() override;
};

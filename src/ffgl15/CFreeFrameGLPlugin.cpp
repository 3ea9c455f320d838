#include "CFreeFrameGLPlugin.h"

#include <cstdio>

inline namespace ZM_BUILD_NAMESPACE
{

char ParameterDisplayBuffer[ParameterDisplayBufferSize] = {};

int32_t CFreeFrameGLPlugin::InitGL(const FFGLViewport*)
{
    return FF_SUCCESS;
}

int32_t CFreeFrameGLPlugin::DeInitGL()
{
    return FF_SUCCESS;
}

const char* CFreeFrameGLPlugin::GetParameterDisplay(uint32_t index)
{
    // self is only written when the object becomes an instance; an object that
    // never did answers for itself.
    CFreeFrameGLPlugin* object = self != nullptr ? self : this;

    const int32_t type = object->FindParamType(index);
    if (type == FF_FAIL)
        return nullptr;
    if (type == FF_TYPE_TEXT)
        return object->GetTextParameter(index);

    const double value = object->GetFloatParameter(index);
    std::snprintf(ParameterDisplayBuffer, sizeof(ParameterDisplayBuffer), "%f", value);
    return ParameterDisplayBuffer;
}

int32_t CFreeFrameGLPlugin::SetFloatParameter(uint32_t, float)
{
    return FF_FAIL;
}

int32_t CFreeFrameGLPlugin::SetTextParameter(uint32_t, const char*)
{
    return FF_FAIL;
}

float CFreeFrameGLPlugin::GetFloatParameter(uint32_t)
{
    return 0.0f;
}

const char* CFreeFrameGLPlugin::GetTextParameter(uint32_t)
{
    return reinterpret_cast<const char*>(FF_FAIL64);
}

int32_t CFreeFrameGLPlugin::ProcessOpenGL(ProcessOpenGLStruct*)
{
    return FF_FAIL;
}

int32_t CFreeFrameGLPlugin::SetTime(double)
{
    return FF_FAIL;
}

int32_t CFreeFrameGLPlugin::GetInputStatus(uint32_t index)
{
    return index < static_cast<uint32_t>(GetMaxInputFrames()) ? 1 : FF_FAIL;
}

const char* CFreeFrameGLPlugin::GetShortName()
{
    return nullptr;
}

int32_t CFreeFrameGLPlugin::Connect()
{
    return FF_SUCCESS;
}

int32_t CFreeFrameGLPlugin::Disconnect()
{
    return FF_SUCCESS;
}

int32_t CFreeFrameGLPlugin::Resize(const FFGLViewport*)
{
    return FF_SUCCESS;
}

} // namespace ZM_BUILD_NAMESPACE

#include "CFFGLPlugin.h"

inline namespace ZM_BUILD_NAMESPACE
{

CFFGLPlugin::CFFGLPlugin() = default;

CFFGLPlugin::~CFFGLPlugin() = default;

int32_t CFFGLPlugin::InitGL(const FFGLViewport* vp)
{
    if (vp != nullptr)
        viewport = *vp;
    return FF_SUCCESS;
}

int32_t CFFGLPlugin::DeInitGL()
{
    return FF_SUCCESS;
}

const char* CFFGLPlugin::GetParameterDisplay(uint32_t)
{
    return nullptr;
}

int32_t CFFGLPlugin::SetFloatParameter(uint32_t, float)
{
    return FF_FAIL;
}

int32_t CFFGLPlugin::SetTextParameter(uint32_t, const char*)
{
    return FF_FAIL;
}

float CFFGLPlugin::GetFloatParameter(uint32_t)
{
    return 0.0f;
}

const char* CFFGLPlugin::GetTextParameter(uint32_t)
{
    // The host reads the failure code from the low half of this pointer-sized value.
    return reinterpret_cast<const char*>(static_cast<uintptr_t>(FF_FAIL64));
}

int32_t CFFGLPlugin::ProcessOpenGL(ProcessOpenGLStruct*)
{
    return FF_FAIL;
}

int32_t CFFGLPlugin::SetTime(double hostTime)
{
    time = hostTime;
    return FF_SUCCESS;
}

void CFFGLPlugin::SetBeatInfo(float newBpm, float newBarPhase)
{
    bpm = newBpm;
    barPhase = newBarPhase;
}

void CFFGLPlugin::SetHostInfo(const char* name, const char* version)
{
    // Hosts are expected to pass two texts; a missing one is kept as empty rather than read.
    hostName = name != nullptr ? name : "";
    hostVersion = version != nullptr ? version : "";
}

void CFFGLPlugin::SetSampleRate(uint32_t rate)
{
    sampleRate = rate;
}

int32_t CFFGLPlugin::GetInputStatus(uint32_t index)
{
    return index < static_cast<uint32_t>(GetMaxInputFrames()) ? 1 : FF_FAIL;
}

const char* CFFGLPlugin::GetShortName()
{
    return nullptr;
}

int32_t CFFGLPlugin::Connect()
{
    return FF_SUCCESS;
}

int32_t CFFGLPlugin::Disconnect()
{
    return FF_SUCCESS;
}

int32_t CFFGLPlugin::Resize(const FFGLViewport* vp)
{
    if (vp != nullptr)
        viewport = *vp;
    return FF_SUCCESS;
}

} // namespace ZM_BUILD_NAMESPACE

#pragma once

#include "CFFGLPluginManager.h"
#include "FFGLTypes.h"

#include <string>

inline namespace ZM_BUILD_NAMESPACE
{

/*
    Base class of every plug-in object of the FFGL 2.1 build: the prototype and
    each instance the host creates. plugMain reaches an object only through the
    virtual operations below; their defaults let a host drive an object that
    draws nothing. Derived classes override what they need.
*/
class CFFGLPlugin : public CFFGLPluginManager
{
public:
    CFFGLPlugin();
    ~CFFGLPlugin() override;

    /** Keeps a copy of the viewport; 0. */
    virtual int32_t InitGL(const FFGLViewport* viewport);
    /** 0. */
    virtual int32_t DeInitGL();
    /** Display text of a parameter; nullptr by default. */
    virtual const char* GetParameterDisplay(uint32_t index);
    /** Rejects every value by default (-1). */
    virtual int32_t SetFloatParameter(uint32_t index, float value);
    /** Rejects every text by default (-1). */
    virtual int32_t SetTextParameter(uint32_t index, const char* text);
    /** 0.0 by default. */
    virtual float GetFloatParameter(uint32_t index);
    /** A pointer with all 64 bits set (the failure code) by default. */
    virtual const char* GetTextParameter(uint32_t index);
    /** Draws one frame; -1 by default. */
    virtual int32_t ProcessOpenGL(ProcessOpenGLStruct* frame);
    /** Stores the host time; 0. */
    virtual int32_t SetTime(double hostTime);
    /** Stores tempo and bar phase. */
    virtual void SetBeatInfo(float bpm, float barPhase);
    /** Stores copies of the host's name and version (a null text counts as empty). */
    virtual void SetHostInfo(const char* name, const char* version);
    /** Stores the host's audio sample rate. */
    virtual void SetSampleRate(uint32_t sampleRate);
    /** 1 when index < maxInputFrames (unsigned), else -1. */
    virtual int32_t GetInputStatus(uint32_t index);
    /** nullptr by default. */
    virtual const char* GetShortName();
    /** 0. */
    virtual int32_t Connect();
    /** 0. */
    virtual int32_t Disconnect();
    /** Keeps a copy of the viewport; 0. */
    virtual int32_t Resize(const FFGLViewport* viewport);

    /** Set by plugMain once the host has connected this object; the object itself never touches it. */
    bool connected = false;
    /** The object's own address, stored when it becomes an instance. */
    CFFGLPlugin* self = nullptr;

    // What the host reported, kept for derived classes.
    FFGLViewport viewport {};
    float bpm = 120.0f;
    float barPhase = 0.0f;
    std::string hostName;
    std::string hostVersion;
    double time = 0.0;
    uint32_t sampleRate = 0;
};

} // namespace ZM_BUILD_NAMESPACE

#pragma once

#include "CFFGLPluginManager15.h"
#include "FFGLTypes.h"

#include <cstddef>
#include <cstdint>

inline namespace ZM_BUILD_NAMESPACE
{

/** The display text of the last GetParameterDisplay, shared by every instance: the longest "%f" of a float fits. */
constexpr size_t ParameterDisplayBufferSize = 48;
extern char ParameterDisplayBuffer[ParameterDisplayBufferSize];

/*
    Base class of every plug-in object of the FFGL 1.5 build: the prototype and
    each instance the host creates. plugMain reaches an object only through the
    fifteen virtual operations below; their defaults let a host drive an object
    that draws nothing. Derived classes override what they need.
*/
class CFreeFrameGLPlugin : public CFFGLPluginManager
{
public:
    CFreeFrameGLPlugin() = default;
    ~CFreeFrameGLPlugin() override = default;

    /** 0; keeps nothing. */
    virtual int32_t InitGL(const FFGLViewport* viewport);
    /** 0. */
    virtual int32_t DeInitGL();
    /**
        The parameter's value as text: a text parameter's own text, any other
        type its float printed with "%f" into ParameterDisplayBuffer (valid until
        the next call on any instance); nullptr for an unknown index.
    */
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
    /** Time is not supported here: -1, nothing kept. */
    virtual int32_t SetTime(double hostTime);
    /** 1 when index < maxInputFrames (unsigned), else -1. */
    virtual int32_t GetInputStatus(uint32_t index);
    /** nullptr by default. */
    virtual const char* GetShortName();
    /** 0. */
    virtual int32_t Connect();
    /** 0. */
    virtual int32_t Disconnect();
    /** 0; keeps nothing. */
    virtual int32_t Resize(const FFGLViewport* viewport);

    /** Set by plugMain once the host has connected this object; the object itself never touches it. */
    bool connected = false;
    /** The object's own address, stored when it becomes an instance. */
    CFreeFrameGLPlugin* self = nullptr;
};

} // namespace ZM_BUILD_NAMESPACE

#pragma once

#include "GLEntryPoints15.h"

#include <string>
#include <vector>

/*
    Records the GL calls an FFGL 1.5 effect makes, by name, while it lives:
    it swaps the zmgl:: pointers of the drawing, uniform, program and texture
    calls for recorders that log the call and then pass it on to the real entry
    point, and puts the originals back when it goes.

    Usage:
        GLCallLog15 log;
        effect.ProcessOpenGL (&frame);
        EXPECT_EQ (log.Count ("glBegin"), 1);

    Only one may exist at a time.
*/
class GLCallLog15
{
public:
    struct Call
    {
        std::string name;
        std::vector<double> arguments;   ///< numeric arguments, in order
    };

    GLCallLog15();
    ~GLCallLog15();

    GLCallLog15(const GLCallLog15&) = delete;
    GLCallLog15& operator=(const GLCallLog15&) = delete;

    const std::vector<Call>& Calls() const;

    /** The names only, in call order. */
    std::vector<std::string> Names() const;

    long Count(const std::string& name) const;

    /** The calls with this name, in order. */
    std::vector<Call> Only(const std::string& name) const;

    void Clear();
};

#pragma once

#include "GLTestEnvironment.h"

/*
    A fixture for the FFGL 1.5 build's GL code: each test gets a fresh
    compatibility-profile context, which is what an FFGL 1.5 host offers.
*/
class CompatGLTest : public GLTest
{
protected:
    void SetUp() override { ASSERT_TRUE(context.Create(EglContext::Profile::Compatibility)) << context.GetError(); }
};

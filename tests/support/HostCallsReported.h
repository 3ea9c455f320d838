#pragma once

#include <cstdint>

/*
    What the test plug-ins of both builds answer alike: the short name and the
    results of connect and disconnect come from the test's control record, and
    each connect and disconnect is logged there.

    Usage:
        class TestPlugin : public HostCallsReported<CFFGLPlugin, testControl> { ... };
*/
template <typename HostObject, auto& control>
class HostCallsReported : public HostObject
{
public:
    const char* GetShortName() override { return control.shortName; }

    int32_t Connect() override
    {
        control.log.push_back("Connect");
        return control.connectResult;
    }

    int32_t Disconnect() override
    {
        control.log.push_back("Disconnect");
        return control.disconnectResult;
    }
};

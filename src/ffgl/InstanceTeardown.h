#pragma once

/*
    The last steps of an instance's life, the same in both builds: the object's
    own shutdown operations may throw, but the object is deleted whatever they
    do, because the host has let go of it (or never got it).

    Usage, in an instance life-cycle source:
        DiscardInstance (object, true);   // InitGL failed half-way
        ReleaseInstance (instance);       // the host's de-instantiation
*/

/** Deletes an instance, first letting it release its GL resources when deInitGL is set. */
template <typename PluginObject>
void DiscardInstance(PluginObject* instance, bool deInitGL) noexcept
{
    if (deInitGL)
    {
        try
        {
            instance->DeInitGL();
        }
        catch (...) {}
    }
    delete instance;
}

/** Disconnects an instance the host connected, then releases its GL resources and deletes it. */
template <typename PluginObject>
void ReleaseInstance(PluginObject* instance) noexcept
{
    try
    {
        if (instance->connected)
        {
            instance->Disconnect();
            instance->connected = false;
        }
    }
    catch (...) {}
    DiscardInstance(instance, true);
}

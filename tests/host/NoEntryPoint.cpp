// A shared library that is no plug-in: it exports a function, but no plugMain.

extern "C" __attribute__((visibility("default"))) int notAPlugin()
{
    return 42;
}

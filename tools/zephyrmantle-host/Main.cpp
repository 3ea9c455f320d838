// The headless host: loads an FFGL plug-in, renders frames off-screen and writes a PNG.

#include "HostOptions.h"
#include "HostSession.h"

#include <exception>
#include <iostream>

int main(int argc, char* argv[])
{
    try
    {
        HostOptions options;
        std::string error;
        if (!HostOptions::Parse(std::vector<std::string>(argv + 1, argv + argc), options, error))
        {
            std::cerr << "error: " << error << " (--help for usage)" << std::endl;
            return 2;
        }

        HostSession session(std::cout, std::cerr);
        return session.Run(options);
    }
    catch (const std::exception& e)
    {
        std::cerr << "error: " << e.what() << std::endl;
    }
    catch (...)
    {
        std::cerr << "error: unexpected failure" << std::endl;
    }
    return 1;
}

#pragma once

#include <string>

/** How many times a text occurs in another, for checking how often a message was written. */
inline size_t CountOccurrences(const std::string& text, const std::string& what)
{
    size_t count = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++count;
    return count;
}

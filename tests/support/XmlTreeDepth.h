#pragma once

#include <juce_core/juce_core.h>

#include <algorithm>
#include <utility>
#include <vector>

/** The nesting depth of a parsed XML tree, the root counting as 1. Iterative, so that
    measuring a deep tree cannot itself run out of stack. */
inline int TreeDepth(const juce::XmlElement& root)
{
    int deepest = 0;
    std::vector<std::pair<const juce::XmlElement*, int>> pending { { &root, 1 } };

    while (!pending.empty())
    {
        auto [element, depth] = pending.back();
        pending.pop_back();
        deepest = std::max(deepest, depth);

        for (auto* child : element->getChildIterator())
            pending.push_back({ child, depth + 1 });
    }

    return deepest;
}

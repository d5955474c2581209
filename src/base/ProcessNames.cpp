#include "base/ProcessNames.h"

#include <algorithm>
#include <utility>

std::vector<std::string> ProcessNames::Names(bool fresh)
{
    const bool fullRound = m_round++ % kFullRound == 0;
    const unsigned long last = LastProcessId();
    if (!fresh && !fullRound && last != 0 && last == m_lastProcessId)
        return m_names;
    m_lastProcessId = last;
    std::unordered_map<unsigned long, Known> known;
    std::vector<std::string> names;
    for (const unsigned long pid : ProcessIds()) {
        const auto before = m_known.find(pid);
        Known process = before != m_known.end() ? std::move(before->second) : Known{};
        if (fullRound || process.seen < 2)
            process.name = ReadName(pid);
        process.seen = std::min(process.seen + 1, 2);
        names.push_back(process.name);
        known.emplace(pid, std::move(process));
    }
    m_known = std::move(known);
    m_names = names;
    return names;
}

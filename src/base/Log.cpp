#include "base/Log.h"

namespace {

thread_local LogHold* t_hold = nullptr;

} // namespace

LogHold::LogHold() : m_outer(t_hold)
{
    t_hold = this;
}

LogHold::~LogHold()
{
    t_hold = m_outer;
    for (const std::string& line : m_lines)
        LogError("%s", line.c_str());
}

bool LogHold::Take(const std::string& line)
{
    if (!t_hold)
        return false;
    t_hold->m_lines.push_back(line);
    return true;
}

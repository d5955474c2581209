#pragma once

#include <string>
#include <unordered_map>
#include <vector>

// The names of the programs that run now, as the system names them: on Linux the
// kernel's short name of each process (its file name, 15 bytes at most), on Windows
// the executable's file name. Asked once a second by a keeper, so a name is read only
// for a process not seen before (and once more the next time, in case it had not
// started its program yet), and every name again every kFullRound-th time, which
// also catches a process that started another program in its place.
class ProcessNames {
public:
    static constexpr int kFullRound = 10;

    // Without `fresh`, the list from the call before stands where the system tells that
    // no process has started since (Linux: the last process id given out is the same);
    // it may then still name a process that has ended.
    std::vector<std::string> Names(bool fresh = true);

private:
    // Each system's half: the processes that run now, one's name ("" when it cannot
    // be asked, or has ended), and the last process id given out (0 when unknown).
    static std::vector<unsigned long> ProcessIds();
    static std::string ReadName(unsigned long pid);
    static unsigned long LastProcessId();

    struct Known {
        std::string name;
        int seen = 0;  // the rounds it has been seen in, up to 2
    };
    std::unordered_map<unsigned long, Known> m_known;  // by process id
    std::vector<std::string> m_names;
    unsigned long m_lastProcessId = 0;
    int m_round = 0;
};

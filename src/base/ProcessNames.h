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

    std::vector<std::string> Names();

private:
    // Each system's half: the processes that run now, and one's name ("" when it
    // cannot be asked, or has ended).
    static std::vector<unsigned long> ProcessIds();
    static std::string ReadName(unsigned long pid);

    struct Known {
        std::string name;
        int seen = 0;  // the rounds it has been seen in, up to 2
    };
    std::unordered_map<unsigned long, Known> m_known;  // by process id
    int m_round = 0;
};

// A program that only waits: copied under the name of a program that a keeper stands
// down for. "stand_in MS" waits MS milliseconds.
#include <windows.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    Sleep(argc > 1 ? static_cast<DWORD>(std::atoi(argv[1])) : 1000);
}

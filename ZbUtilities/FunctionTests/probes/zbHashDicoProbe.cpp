// Probe program for the fatal construction path of the hash dictionary.
//
//   zbHashDicoProbe DIMENSION     builds a dictionary, prints its dimension

#include <cstdio>
#include <cstdlib>

#include "zbHashDico.h"

int main(int argc, char** argv)
{
    zbHashDico dico(argc > 1 ? std::atoi(argv[1]) : 1);
    std::printf("%d\n", dico.GetDimension());
    return 0;
}

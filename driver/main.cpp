// vetrix FILE [n]: decides a DIMACS CNF formula with branching strategy n.
#include <cstdlib>
#include <iostream>

#include "driver/run.h"

int main(int argc, char **argv) {
    if (argc > 3) {
        std::cout << "wrong number of arguments\n";
        return 1;
    }
    if (argc == 1) {
        std::cout << "vetrix file_name [n]" << "\n" << "n is equal 0,1,2" << "\n";
        return 0;
    }
    int n = 0;
    if (argc == 3) {
        n = std::atoi(argv[2]);
        if (static_cast<unsigned>(n) > 2u) {
            std::cout << "wrong strategy " << n << "\n";
            return 1;
        }
    }
    OnBase_m1(argv[1], n);
    return 0;
}

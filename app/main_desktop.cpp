#include "StartUp.h"

int main(int argc, char** argv)
{
    return runTarvane(argc, argv);
}

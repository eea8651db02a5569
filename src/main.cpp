#include "app/Startup.h"

int main(int argc, char** argv)
{
    return kov::app::runProgram(argc, argv);
}

#include "shell/Application.h"

int main(int argc, char** argv)
{
    return slipcraft::runApplication(argc, argv);
}
